#include "response_plot.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace kalvena::ui {
namespace {

constexpr const char* kBandNames[] = {"Ниски", "Средни", "Високи"};
constexpr double kTextPixels = 12;
constexpr double kSmallTextPixels = 11;
constexpr Color kGrid{215, 215, 215};
constexpr Color kDecade{170, 170, 170};
constexpr Color kOutside{240, 240, 240};  // beyond the audible range
constexpr Color kHalfPower{120, 120, 120};
constexpr Color kOtherSum{95, 95, 95};
constexpr Color kLabelInk{60, 60, 60};
constexpr double kHalfPowerDb = -3.0103;  // 10 log10(1/2): where every crossing is

std::size_t indexOf(PartsSet set) {
  for (std::size_t s = 0; s < std::size(kPartsSets); ++s) {
    if (kPartsSets[s] == set) return s;
  }
  return 0;
}

std::string hertzLabel(double hz) {
  return hz >= 1000 ? std::to_string(static_cast<int>(hz / 1000)) + " kHz"
                    : std::to_string(static_cast<int>(hz)) + " Hz";
}

std::string dbLabel(int db) {
  if (db == 0) return "0";
  return (db > 0 ? "+" : "−") + std::to_string(std::abs(db));
}

// A section's crossings with the set's parts; nothing where it is not built or not known.
std::optional<Crossings> crossingsOf(const std::optional<BuiltSection>& built, PartsSet set) {
  if (!built) return std::nullopt;
  return minus3DbCrossings(built->ladder(set), built->load, built->lowHz, built->highHz);
}

}  // namespace

double PlotFrame::x(double hz) const {
  return left + (std::log10(hz) - std::log10(kPlotLowHz)) /
                    (std::log10(kPlotHighHz) - std::log10(kPlotLowHz)) * (right - left);
}

double PlotFrame::y(double db) const {
  return top + (kPlotTopDb - db) / (kPlotTopDb - kPlotBottomDb) * (bottom - top);
}

double PlotFrame::hz(double at) const {
  const double decades = std::log10(kPlotHighHz) - std::log10(kPlotLowHz);
  return kPlotLowHz * std::pow(10.0, (at - left) / (right - left) * decades);
}

PlotFrame plotFrame(double width, double height) {
  return {46, 72, std::max(width - 14, 47.0), std::max(height - 40, 73.0)};
}

void drawResponsePlot(Painter& painter, double width, double height, const BuiltSections& sections,
                      PartsSet set, std::string_view decimalPoint) {
  const PlotFrame f = plotFrame(width, height);
  painter.fill({0, 0}, width, height, kWhite);
  // The audible range is left white, what lies beyond it shaded.
  painter.fill({f.left, f.top}, f.x(kAudibleLowHz) - f.left, f.bottom - f.top, kOutside);
  painter.fill({f.x(kAudibleHighHz), f.top}, f.right - f.x(kAudibleHighHz), f.bottom - f.top,
               kOutside);

  // The grid: every 10 dB, and each decade with its 2 and 5.
  for (int db = static_cast<int>(kPlotTopDb); db >= static_cast<int>(kPlotBottomDb); db -= 10) {
    painter.line({f.left, f.y(db)}, {f.right, f.y(db)}, {db == 0 ? kDecade : kGrid, 1, false});
    painter.text({f.left - 5, f.y(db) + 4}, db == kPlotTopDb ? dbLabel(db) + " dB" : dbLabel(db),
                 Anchor::End, kTextPixels, kLabelInk);
  }
  for (double decade = kPlotLowHz; decade < kPlotHighHz; decade *= 10) {
    for (const double step : {1.0, 2.0, 5.0}) {
      const double hz = decade * step;
      if (hz > kPlotHighHz) break;
      painter.line({f.x(hz), f.top}, {f.x(hz), f.bottom}, {step == 1 ? kDecade : kGrid, 1, false});
    }
    painter.text({f.x(decade), f.bottom + 15}, hertzLabel(decade), Anchor::Middle, kTextPixels,
                 kLabelInk);
  }
  painter.text({f.x(kAudibleLowHz), f.bottom + 30}, "20 Hz", Anchor::Middle, kSmallTextPixels,
               kLabelInk);
  painter.text({f.x(kAudibleHighHz), f.bottom + 30}, "20 kHz", Anchor::Middle, kSmallTextPixels,
               kLabelInk);
  painter.text({(f.x(kAudibleLowHz) + f.x(kAudibleHighHz)) / 2, f.bottom + 30}, "чуваемият обхват",
               Anchor::Middle, kSmallTextPixels, kLabelInk);

  // Each column's level, drawn where it lies inside the frame: a run of columns inside is one
  // line, which ends where it leaves the frame, on its edge.
  const auto curve = [&](auto level, const Pen& pen) {
    std::vector<Point> run;
    Point last{0, 0};
    bool lastInside = false;
    const auto edge = [&](Point a, Point b) {
      const double y = b.y < f.top || a.y < f.top ? f.top : f.bottom;
      return Point{a.x + (b.x - a.x) * (y - a.y) / (b.y - a.y), y};
    };
    for (double x = f.left; x <= f.right + 0.5; x += 1) {
      const double db = level(f.hz(std::min(x, f.right)));
      const Point p{std::min(x, f.right), std::isfinite(db) ? f.y(db) : f.bottom + 1e6};
      const bool inside = p.y >= f.top && p.y <= f.bottom;
      if (inside && !lastInside && x > f.left) run.push_back(edge(last, p));
      if (inside) run.push_back(p);
      if (!inside && lastInside) run.push_back(edge(last, p));
      if (!inside && run.size() > 1) painter.polyline(run, pen);
      if (!inside) run.clear();
      last = p;
      lastInside = inside;
    }
    if (run.size() > 1) painter.polyline(run, pen);
  };
  const Crossover crossover(sections, set);
  const std::optional<PolarityAdvice> advice = middlePolarity(crossover);
  const auto dbOf = [](std::complex<double> v) { return 20 * std::log10(std::abs(v)); };
  painter.line({f.left, f.y(kHalfPowerDb)}, {f.right, f.y(kHalfPowerDb)}, {kHalfPower, 1, true});
  for (std::size_t s = 0; s < sections.size(); ++s) {
    if (!crossover.has(static_cast<Section>(s))) continue;
    curve([&](double hz) { return dbOf(crossover.response(static_cast<Section>(s), hz)); },
          {kBandColors[s], 1.5, false});
  }
  int built = 0;
  for (std::size_t s = 0; s < sections.size(); ++s) built += crossover.has(static_cast<Section>(s));
  if (built > 1) {
    const bool reversed = advice && advice->reverseMiddle;
    if (advice) {
      curve([&](double hz) { return dbOf(crossover.sum(hz, !reversed)); }, {kOtherSum, 1, true});
    }
    curve([&](double hz) { return dbOf(crossover.sum(hz, reversed)); }, {kSumColor, 2, false});
  }

  // Each crossing of -3 dB, marked and given in whole hertz.
  for (std::size_t s = 0; s < sections.size(); ++s) {
    const std::optional<Crossings> c = crossingsOf(sections[s], set);
    if (!c) continue;
    for (const Stretch& stretch : c->stretches) {
      for (const std::optional<double>& edge : {stretch.from, stretch.to}) {
        if (!edge || *edge < kPlotLowHz || *edge > kPlotHighHz) continue;
        const Point at{f.x(*edge), f.y(kHalfPowerDb)};
        painter.circle(at, 3, kWhite, {kBandColors[s], 1.5, false});
        painter.text({at.x, at.y + 16 + 12.0 * static_cast<double>(s)},
                     std::to_string(static_cast<long long>(std::llround(*edge))), Anchor::Middle,
                     kSmallTextPixels, kBandColors[s]);
      }
    }
  }

  // Above the plot: the parts, the advice and the sum's deviations, then the legend in a row:
  // each band (or that it is not calculated), the sum in the advised polarity and in the other.
  painter.text({width - 8, 16}, std::string("Части: ") + kPartsSetNames[indexOf(set)], Anchor::End,
               kTextPixels, kBlack);
  if (advice) {
    painter.text({8, 16}, polarityText(*advice), Anchor::Start, kTextPixels, kBlack);
    painter.text({8, 32}, deviationsText(*advice, decimalPoint), Anchor::Start, kTextPixels,
                 kLabelInk);
  }
  double x = 8;
  const double legendY = 54;
  const auto entry = [&](const std::string& label, const Pen& pen) {
    if (pen.width > 0) {
      painter.line({x, legendY - 4}, {x + 20, legendY - 4}, pen);
      x += 24;
    }
    painter.text({x, legendY}, label, Anchor::Start, kTextPixels, kBlack);
    x += painter.captionExtent(label, static_cast<int>(kTextPixels)).advance + 16;
  };
  for (std::size_t s = 0; s < sections.size(); ++s) {
    const bool has = crossover.has(static_cast<Section>(s));
    entry(std::string(kBandNames[s]) + (has ? "" : ": не е изчислен"),
          has ? Pen{kBandColors[s], 1.5, false} : kNoOutline);
  }
  if (built > 1) {
    const bool reversed = advice && advice->reverseMiddle;
    entry(reversed ? "Сума, средният обърнат" : "Сума", {kSumColor, 2, false});
    if (advice) entry("Другата полярност", {kOtherSum, 1, true});
  }
}

std::string responseDescription(const BuiltSections& sections, PartsSet set,
                                std::string_view decimalPoint) {
  std::string text = std::string("Части: ") + kPartsSetNames[indexOf(set)] + ".";
  for (std::size_t s = 0; s < sections.size(); ++s) {
    text.append(" ").append(kBandNames[s]);
    if (!sections[s]) {
      text.append(": не е изчислен.");
      continue;
    }
    const std::optional<Crossings> c = crossingsOf(sections[s], set);
    text.append(" −3 dB: ");
    text.append(c ? crossingsSetText(static_cast<Section>(s), *c, decimalPoint) : "не е известно");
    text.append(".");
  }
  if (const std::optional<PolarityAdvice> advice = middlePolarity(Crossover(sections, set))) {
    text.append(" ").append(polarityText(*advice)).append("; ");
    text.append(deviationsText(*advice, decimalPoint)).append(".");
  }
  return text;
}

}  // namespace kalvena::ui
