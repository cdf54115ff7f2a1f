#include "response_plot.h"

#include "load_plot.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <vector>

namespace kalvena::ui {
namespace {

constexpr Color kHalfPower{120, 120, 120};
constexpr Color kOtherSum{95, 95, 95};
constexpr Color kSpreadSum{205, 205, 205};
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

// A rectangle in the plot's pixels.
struct Box {
  double left, top, right, bottom;
  bool meets(const Box& o) const {
    return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
  }
};

// Whether the segment from p to q passes through the box (Liang and Barsky's clipping).
bool crosses(Point p, Point q, const Box& b) {
  double t0 = 0, t1 = 1;
  const double dx = q.x - p.x, dy = q.y - p.y;
  const double sides[4][2] = {
      {-dx, p.x - b.left}, {dx, b.right - p.x}, {-dy, p.y - b.top}, {dy, b.bottom - p.y}};
  for (const auto& [toward, room] : sides) {
    if (toward == 0) {
      if (room < 0) return false;
      continue;
    }
    const double t = room / toward;
    if (toward < 0) {
      t0 = std::max(t0, t);
    } else {
      t1 = std::min(t1, t);
    }
    if (t0 > t1) return false;
  }
  return true;
}

// Whether two segments cross each other.
bool segmentsCross(Point a, Point b, Point c, Point d) {
  const auto side = [](Point p, Point q, Point r) {
    const double cross = (q.x - p.x) * (r.y - p.y) - (q.y - p.y) * (r.x - p.x);
    return (cross > 0) - (cross < 0);
  };
  return side(a, b, c) * side(a, b, d) < 0 && side(c, d, a) * side(c, d, b) < 0;
}

// A curve as drawn, its points from left to right; a level that cannot be drawn lies far below.
using Trace = std::vector<Point>;

bool crossesAny(const std::vector<Trace>& traces, const Box& box) {
  for (const Trace& t : traces) {
    const auto first = std::lower_bound(t.begin(), t.end(), box.left,
                                        [](const Point& p, double x) { return p.x < x; });
    auto from = first == t.begin() ? first : first - 1;
    for (; from + 1 < t.end() && from->x <= box.right; ++from) {
      if (crosses(*from, *(from + 1), box)) return true;
    }
  }
  return false;
}

// A crossing of -3 dB as marked on the plot, in the band's colour.
struct Mark {
  Point at;
  double hz;
  std::size_t band;
};

// Gives each mark its frequency in whole hertz. A label goes to the free place nearest its mark,
// under or over the -3 dB line, where it meets neither another label, a mark, a leader nor a
// curve; one not beside its mark is tied to it by a leader. Where no place is free it is left
// out: the description gives every crossing.
void drawCrossingLabels(Painter& painter, const PlotFrame& f, const std::vector<Mark>& marks,
                        const std::vector<Trace>& traces) {
  std::vector<Box> markBoxes, labels;
  std::vector<std::pair<Point, Point>> leaders;
  for (const Mark& m : marks) {
    markBoxes.push_back({m.at.x - 4, m.at.y - 4, m.at.x + 4, m.at.y + 4});
  }
  constexpr double kLabelAscent = 9, kLabelDescent = 2, kRowPixels = 12;
  constexpr int kRows = 12;
  for (const Mark& m : marks) {
    const std::string label = std::to_string(static_cast<long long>(std::llround(m.hz)));
    const double half =
        painter.captionExtent(label, static_cast<int>(kPlotSmallTextPixels)).advance / 2 + 1;
    // The places a label may take, nearest its mark first: rows under and over the line, each
    // straight at the mark or moved by half a label's width at a time to either side.
    struct Place {
      Box box;
      Point baseline;
      double side;
      double distance;
    };
    std::vector<Place> places;
    for (int row = 0; row < kRows; ++row) {
      for (int shift = -4; shift <= 4; ++shift) {
        for (const double side : {1.0, -1.0}) {
          const double baseline =
              side > 0 ? m.at.y + 16 + kRowPixels * row : m.at.y - 7 - kRowPixels * row;
          const double centre = m.at.x + shift * (half + 1);
          const Box box{centre - half, baseline - kLabelAscent, centre + half,
                        baseline + kLabelDescent};
          if (box.left < f.left || box.right > f.right || box.top < f.top ||
              box.bottom > f.bottom) {
            continue;
          }
          const double dx = centre - m.at.x, dy = (box.top + box.bottom) / 2 - m.at.y;
          places.push_back({box, {centre, baseline}, side, std::hypot(dx, dy)});
        }
      }
    }
    std::ranges::stable_sort(places, {}, &Place::distance);
    std::optional<Point> placed;
    for (const Place& place : places) {
      const Box& box = place.box;
      const auto meets = [&](const Box& b) { return b.meets(box); };
      const auto crossesBox = [&](const auto& l) { return crosses(l.first, l.second, box); };
      if (std::ranges::any_of(markBoxes, meets) || std::ranges::any_of(labels, meets) ||
          std::ranges::any_of(leaders, crossesBox) || crossesAny(traces, box)) {
        continue;
      }
      // A label beside its mark needs no leader; one further out is tied to it by a leader that
      // passes by every other label and crosses no other leader.
      const bool led = place.distance > 14;
      const Point from{m.at.x, m.at.y + place.side * 4};
      const Point to{place.baseline.x, place.side > 0 ? box.top : box.bottom};
      const auto crossesLeader = [&](const Box& b) { return crosses(from, to, b); };
      const auto crossesOther = [&](const auto& l) {
        return segmentsCross(from, to, l.first, l.second);
      };
      if (led && (std::ranges::any_of(labels, crossesLeader) ||
                  std::ranges::any_of(leaders, crossesOther))) {
        continue;
      }
      labels.push_back(box);
      placed = place.baseline;
      if (led) {
        leaders.emplace_back(from, to);
        painter.line(from, to, {kBandColors[m.band], 0.75, false});
      }
      break;
    }
    if (placed) {
      painter.text(*placed, label, Anchor::Middle, kPlotSmallTextPixels, kBandColors[m.band]);
    }
  }
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

double curveHz(std::size_t i) {
  return std::min(kPlotLowHz * std::pow(10.0, static_cast<double>(i) / kCurvePerDecade),
                  kPlotHighHz);
}

std::size_t curveCount() {
  static const std::size_t count =
      static_cast<std::size_t>(std::ceil(std::log10(kPlotHighHz / kPlotLowHz) * kCurvePerDecade)) +
      1;
  return count;
}

namespace {

// The spread of the builds of the figures' parts set, their sum in the polarity drawn.
Spread spreadOfFigures(const BuiltSections& sections, const ResponseFigures& figures,
                       const BandDrivers& drivers, const Listening& listening) {
  return spreadOf(sections, figures.set, drivers, listening.hearing,
                  figures.advice && figures.advice->reverseMiddle(), listening.tolerances);
}

}  // namespace

ResponseFigures responseFigures(const BuiltSections& sections, const BandCrossings& crossings,
                                PartsSet set, const BandDrivers& drivers,
                                const Listening& listening) {
  ResponseFigures figures;
  figures.set = set;
  const Crossover crossover(sections, set, drivers, listening.hearing);
  figures.advice = middlePolarity(crossover);
  figures.hearing = listening.hearing;
  figures.referenceDb = crossover.referenceDb();
  figures.heardDiffers = std::ranges::any_of(
      drivers, [](const BandDriver& d) { return d.sound.has_value() || d.offsetMm != 0; });
  figures.tolerances = listening.tolerances;
  const auto dbOf = [](std::complex<double> v) { return 20 * std::log10(std::abs(v)); };
  const std::size_t count = curveCount();
  // Each band's response at each frequency, worked out once for its curve and the sums.
  std::array<std::vector<std::complex<double>>, 3> responses;
  for (std::size_t s = 0; s < sections.size(); ++s) {
    const Section section = static_cast<Section>(s);
    figures.has[s] = crossover.has(section);
    figures.bandLevelDb[s] = crossover.bandLevelDb(section);
    responses[s].assign(count, 0.0);
    if (!figures.has[s]) continue;
    // A band into its typed resistance crosses as the calculation found; the rest are searched.
    if (drivers[s].nominal() && crossings[s]) {
      figures.crossings[s] = (*crossings[s])[indexOf(set)];
    } else {
      figures.crossings[s] = sectionCrossings(*sections[s], drivers[s], set);
      // What the real load changes: where the band would cross into its typed resistance.
      figures.nominal[s] = crossings[s] ? std::optional((*crossings[s])[indexOf(set)])
                                        : sectionCrossings(*sections[s], BandDriver{}, set);
    }
    for (std::size_t i = 0; i < count; ++i) {
      responses[s][i] = crossover.response(section, curveHz(i));
      figures.bandDb[s].push_back(dbOf(responses[s][i]));
    }
    if (drivers[s].driver) {
      if (const auto* curve = std::get_if<MeasuredImpedance>(&*drivers[s].driver)) {
        figures.measured[s] = std::pair{curve->points().front().hz, curve->points().back().hz};
      }
    }
    // Heard, a measured response's band crosses on its heard level.
    if (const auto& sound = drivers[s].sound; sound && listening.hearing == Hearing::Acoustic) {
      figures.heardRange[s] = std::pair{sound->lowHz(), sound->highHz()};
      figures.minimumPhase[s] = sound->minimumPhase();
      figures.crossings[s] = crossover.crossings(section);
    }
  }
  if (figures.bands() > 1) {
    const bool reversed = figures.advice && figures.advice->reverseMiddle();
    const auto sum = [&](std::size_t i, bool middleReversed) {
      return Crossover::sumOf(responses[0][i], responses[1][i], responses[2][i], middleReversed);
    };
    for (std::size_t i = 0; i < count; ++i) {
      figures.sumDb.push_back(dbOf(sum(i, reversed)));
      if (figures.advice) figures.otherSumDb.push_back(dbOf(sum(i, !reversed)));
    }
  }
  if (figures.bands() > 0) {
    for (std::size_t i = 0; i < count; ++i) {
      figures.load.push_back(crossover.amplifierLoad(curveHz(i)).value_or(0.0));
    }
    figures.loadMinimum = amplifierLoadMinimum(crossover);
    if (listening.spread) figures.spread = spreadOfFigures(sections, figures, drivers, listening);
  }
  return figures;
}

void ResponseFigureCache::update(const BuiltSections& sections) {
  sections_ = sections;
  crossings_ = bandCrossings(sections);
  for (std::optional<ResponseFigures>& f : figures_) f.reset();
}

void ResponseFigureCache::setDrivers(const BandDrivers& drivers, const Listening& listening) {
  // Where only the spread or the tolerances changed, the figures stand and their spread is
  // worked out anew when asked for.
  const bool figuresStand = drivers == drivers_ && listening.hearing == listening_.hearing;
  drivers_ = drivers;
  listening_ = listening;
  for (std::optional<ResponseFigures>& f : figures_) {
    if (f && figuresStand) {
      f->spread.reset();
      f->tolerances = listening.tolerances;
    } else {
      f.reset();
    }
  }
}

const ResponseFigures& ResponseFigureCache::figures(PartsSet set) {
  std::optional<ResponseFigures>& kept = figures_[indexOf(set)];
  if (!kept) kept = responseFigures(sections_, crossings_, set, drivers_, listening_);
  if (listening_.spread && !kept->spread && kept->bands() > 0) {
    kept->spread = spreadOfFigures(sections_, *kept, drivers_, listening_);
  }
  return *kept;
}

void shadeBeyondAudible(Painter& painter, const PlotFrame& f) {
  painter.fill({f.left, f.top}, f.x(kAudibleLowHz) - f.left, f.bottom - f.top, kOutside);
  painter.fill({f.x(kAudibleHighHz), f.top}, f.right - f.x(kAudibleHighHz), f.bottom - f.top,
               kOutside);
}

void drawFrequencyLines(Painter& painter, const PlotFrame& f) {
  for (double decade = kPlotLowHz; decade < kPlotHighHz; decade *= 10) {
    for (const double step : {1.0, 2.0, 5.0}) {
      const double hz = decade * step;
      if (hz > kPlotHighHz) break;
      painter.line({f.x(hz), f.top}, {f.x(hz), f.bottom}, {step == 1 ? kDecade : kGrid, 1, false});
    }
  }
}

void drawResponsePlot(Painter& painter, double width, double height, const ResponseFigures& figures,
                      std::string_view decimalPoint) {
  const PlotFrame f = plotFrame(width, height);
  painter.fill({0, 0}, width, height, kWhite);
  shadeBeyondAudible(painter, f);
  // The grid: every 10 dB, and each decade with its 2 and 5. Heard with measured responses,
  // the levels are the files' own (dB SPL where they are absolute): 0 dB is the reference.
  const std::optional<double> heardAt =
      figures.hearing == Hearing::Acoustic ? figures.referenceDb : std::nullopt;
  for (int db = static_cast<int>(kPlotTopDb); db >= static_cast<int>(kPlotBottomDb); db -= 10) {
    painter.line({f.left, f.y(db)}, {f.right, f.y(db)}, {db == 0 ? kDecade : kGrid, 1, false});
    const std::string label = heardAt            ? fixedText(*heardAt + db, 1, decimalPoint)
                              : db == kPlotTopDb ? dbLabel(db) + " dB"
                                                 : dbLabel(db);
    painter.text({f.left - 5, f.y(db) + 4}, label, Anchor::End, kPlotTextPixels, kLabelInk);
  }
  if (heardAt) {
    painter.text({f.left + 4, f.top + 13}, "dB по файловете", Anchor::Start, kPlotTextPixels,
                 kLabelInk);
  }
  drawFrequencyLines(painter, f);
  for (double decade = kPlotLowHz; decade < kPlotHighHz; decade *= 10) {
    painter.text({f.x(decade), f.bottom + 15}, hertzLabel(decade), Anchor::Middle, kPlotTextPixels,
                 kLabelInk);
  }
  painter.text({f.x(kAudibleLowHz), f.bottom + 30}, "20 Hz", Anchor::Middle, kPlotSmallTextPixels,
               kLabelInk);
  painter.text({f.x(kAudibleHighHz), f.bottom + 30}, "20 kHz", Anchor::Middle, kPlotSmallTextPixels,
               kLabelInk);
  painter.text({(f.x(kAudibleLowHz) + f.x(kAudibleHighHz)) / 2, f.bottom + 30}, "чуваемият обхват",
               Anchor::Middle, kPlotSmallTextPixels, kLabelInk);

  // Each curve's points, drawn where they lie inside the frame: a run of points inside is one
  // line, which ends where it leaves the frame, on its edge.
  const auto trace = [&](const std::vector<double>& levels) {
    Trace points;
    for (std::size_t i = 0; i < levels.size(); ++i) {
      const double db = levels[i];
      points.push_back({f.x(curveHz(i)), std::isfinite(db) ? f.y(db) : f.bottom + 1e6});
    }
    return points;
  };
  const auto curve = [&](const Trace& points, Pen pen) {
    pen.bevelled = true;
    std::vector<Point> run;
    Point last{0, 0};
    bool lastInside = false;
    const auto edge = [&](Point a, Point b) {
      const double y = b.y < f.top || a.y < f.top ? f.top : f.bottom;
      return Point{a.x + (b.x - a.x) * (y - a.y) / (b.y - a.y), y};
    };
    for (const Point& p : points) {
      const bool inside = p.y >= f.top && p.y <= f.bottom;
      if (inside && !lastInside && &p != &points.front()) run.push_back(edge(last, p));
      if (inside) run.push_back(p);
      if (!inside && lastInside) run.push_back(edge(last, p));
      if (!inside && run.size() > 1) painter.polyline(run, pen);
      if (!inside) run.clear();
      last = p;
      lastInside = inside;
    }
    if (run.size() > 1) painter.polyline(run, pen);
  };
  // The spread of builds, under every curve: each band's, then the sum's, a light tint of its
  // colour from the 5th to the 95th percentile.
  if (figures.spread) {
    const Spread& spread = *figures.spread;
    const auto clampedY = [&](double db) {
      return std::isfinite(db) ? std::clamp(f.y(db), f.top, f.bottom) : f.bottom;
    };
    const auto shade = [&](const std::vector<Percentiles>& band, Color color) {
      if (band.empty()) return;
      std::vector<Point> outline;
      for (std::size_t i = 0; i < band.size(); ++i) {
        outline.push_back({f.x(spread.hz[i]), clampedY(band[i].high)});
      }
      for (std::size_t i = band.size(); i-- > 0;) {
        outline.push_back({f.x(spread.hz[i]), clampedY(band[i].low)});
      }
      painter.polygon(outline, color, kNoOutline);
    };
    const auto tint = [](Color c) {
      const auto mix = [](std::uint8_t v) {
        return static_cast<std::uint8_t>(255 - (255 - v) / 4);
      };
      return Color{mix(c.red), mix(c.green), mix(c.blue)};
    };
    for (std::size_t s = 0; s < 3; ++s) shade(spread.db[s], tint(kBandColors[s]));
    shade(spread.db[3], kSpreadSum);
  }
  painter.line({f.left, f.y(kHalfPowerDb)}, {f.right, f.y(kHalfPowerDb)}, {kHalfPower, 1, true});
  // The sums first, so that a band they coincide with stays seen, outlined by the sum.
  std::vector<Trace> traces;
  if (!figures.otherSumDb.empty()) {
    traces.push_back(trace(figures.otherSumDb));
    curve(traces.back(), {kOtherSum, 1, true});
  }
  if (!figures.sumDb.empty()) {
    traces.push_back(trace(figures.sumDb));
    curve(traces.back(), {kSumColor, 2, false});
  }
  for (std::size_t s = 0; s < figures.bandDb.size(); ++s) {
    if (!figures.has[s]) continue;
    traces.push_back(trace(figures.bandDb[s]));
    const Pen pen{kBandColors[s], 1.5, false};
    if (!figures.measured[s]) {
      curve(traces.back(), pen);
      continue;
    }
    // Solid where the driver was measured, dashed beyond, the three parts joined.
    const double lo = f.x(figures.measured[s]->first), hi = f.x(figures.measured[s]->second);
    Trace below, within, above;
    for (const Point& p : traces.back()) {
      if (p.x < lo) below.push_back(p);
      if (p.x >= lo && p.x <= hi) within.push_back(p);
      if (p.x > hi) above.push_back(p);
    }
    if (!within.empty()) {
      below.push_back(within.front());
      above.insert(above.begin(), within.back());
    }
    curve(below, {pen.color, pen.width, true});
    curve(within, pen);
    curve(above, {pen.color, pen.width, true});
  }

  // Each crossing of -3 dB, marked and given in whole hertz.
  std::vector<Mark> marks;
  for (std::size_t s = 0; s < figures.crossings.size(); ++s) {
    if (!figures.crossings[s]) continue;
    for (const Stretch& stretch : figures.crossings[s]->stretches) {
      for (const std::optional<double>& edge : {stretch.from, stretch.to}) {
        if (!edge || *edge < kPlotLowHz || *edge > kPlotHighHz) continue;
        marks.push_back({{f.x(*edge), f.y(figures.bandLevelDb[s] + kHalfPowerDb)}, *edge, s});
      }
    }
  }
  std::ranges::stable_sort(marks, {}, [](const Mark& m) { return m.at.x; });
  drawCrossingLabels(painter, f, marks, traces);
  for (const Mark& m : marks) {
    painter.circle(m.at, 3, kWhite, {kBandColors[m.band], 1.5, false});
  }

  // Above the plot: the parts, the advice and the sum's deviations, then the legend in a row:
  // each band (or that it is not calculated), the sum in the advised polarity and in the other.
  const std::optional<PolarityAdvice>& advice = figures.advice;
  painter.text({width - 8, 16}, std::string("Части: ") + kPartsSetNames[indexOf(figures.set)],
               Anchor::End, kPlotTextPixels, kBlack);
  if (figures.hearing == Hearing::Acoustic && figures.referenceDb) {
    painter.text({width - 8, 32}, hearingText(figures, decimalPoint), Anchor::End, kPlotTextPixels,
                 kLabelInk);
  }
  if (advice) {
    painter.text({8, 16}, polarityText(*advice, decimalPoint), Anchor::Start, kPlotTextPixels,
                 kBlack);
    painter.text({8, 32}, deviationsText(*advice, decimalPoint), Anchor::Start, kPlotTextPixels,
                 kLabelInk);
  }
  double x = 8;
  const double legendY = 54;
  const auto entry = [&](const std::string& label, const Pen& pen) {
    if (pen.width > 0) {
      painter.line({x, legendY - 4}, {x + 20, legendY - 4}, pen);
      x += 24;
    }
    painter.text({x, legendY}, label, Anchor::Start, kPlotTextPixels, kBlack);
    x += painter.captionExtent(label, static_cast<int>(kPlotTextPixels)).advance + 16;
  };
  for (std::size_t s = 0; s < figures.has.size(); ++s) {
    entry(std::string(kBandNames[s]) + (figures.has[s] ? "" : ": не е изчислен"),
          figures.has[s] ? Pen{kBandColors[s], 1.5, false} : kNoOutline);
  }
  if (figures.bands() > 1) {
    const bool reversed = advice && advice->reverseMiddle();
    entry(reversed ? "Сума, средният обърнат" : "Сума", {kSumColor, 2, false});
    if (advice) entry("Другата полярност", {kOtherSum, 1, true});
  }
  if (figures.spread) {
    painter.rectangle({x, legendY - 9}, 20, 10, kSpreadSum);
    x += 24;
    entry("90 % от сглобките", kNoOutline);
  }
}

std::string crossingSpreadText(const ResponseFigures& figures, std::size_t band,
                               std::string_view point) {
  if (!figures.spread || !figures.crossings[band]) return {};
  const auto hz = [&](double v) { return fixedText(v, 0, point) + " Hz"; };
  std::string text;
  const auto edge = [&](const char* verb, const std::optional<double>& nominal,
                        const std::optional<Percentiles>& spread) {
    if (!nominal || !spread) return;
    if (!text.empty()) text += "; ";
    text += std::string(verb) + " при " + hz(*nominal) + ", 90 % между " +
            fixedText(spread->low, 0, point) + " и " + hz(spread->high);
  };
  edge("расте", figures.crossings[band]->rising, figures.spread->rising[band]);
  edge("пада", figures.crossings[band]->falling, figures.spread->falling[band]);
  return text;
}

std::string tolerancesText(const Tolerances& t, std::string_view point) {
  const auto percent = [&](double v) {
    return "±" + fixedText(v, v == std::floor(v) ? 0 : 1, point) + " %";
  };
  return "Допуски: C " + percent(t.capacitors) + ", L " + percent(t.coils) + ", R " +
         percent(t.resistors) + ", Rбоб " + percent(t.coilResistance);
}

std::string sumSpreadText(const ResponseFigures& figures, std::string_view point) {
  if (!figures.spread || !figures.spread->sumWithinDb) return {};
  return "95 % от сглобките: сумата в ±" + fixedText(*figures.spread->sumWithinDb, 1, point) +
         " dB";
}

std::string hearingText(const ResponseFigures& figures, std::string_view point) {
  if (figures.hearing == Hearing::Electrical) return "електрически";
  if (!figures.referenceDb) return "чуто";
  return "чуто: 0 dB = " + fixedText(*figures.referenceDb, 1, point) + " dB по файловете";
}

std::string responseDescription(const ResponseFigures& figures, std::string_view decimalPoint) {
  std::string text = std::string("Части: ") + kPartsSetNames[indexOf(figures.set)];
  if (figures.heardDiffers) text.append("; ").append(hearingText(figures, decimalPoint));
  text.append(".");
  for (std::size_t s = 0; s < figures.has.size(); ++s) {
    text.append(" ").append(kBandNames[s]);
    if (!figures.has[s]) {
      text.append(": не е изчислен.");
      continue;
    }
    const std::optional<Crossings>& c = figures.crossings[s];
    text.append(" −3 dB: ");
    text.append(c ? crossingsSetText(static_cast<Section>(s), *c, decimalPoint) : "не е известно");
    if (const auto& m = figures.measured[s]) {
      text.append(" ").append(measuredText(c, *m, decimalPoint));
    }
    if (const auto& n = figures.nominal[s]) {
      text.append(" (в резистор Rвг: ")
          .append(crossingsSetText(static_cast<Section>(s), *n, decimalPoint))
          .append(")");
    }
    if (const auto& r = figures.heardRange[s]) {
      text.append(" (отговор от ")
          .append(fixedText(r->first, 0, decimalPoint))
          .append(" до ")
          .append(fixedText(r->second, 0, decimalPoint))
          .append(" Hz")
          .append(figures.minimumPhase[s] ? ", минимална фаза)" : ")");
    }
    if (const std::string spread = crossingSpreadText(figures, s, decimalPoint); !spread.empty()) {
      text.append("; разброс: ").append(spread);
    }
    text.append(".");
  }
  if (figures.advice) {
    text.append(" ").append(polarityText(*figures.advice, decimalPoint)).append("; ");
    text.append(deviationsText(*figures.advice, decimalPoint)).append(".");
  }
  if (figures.loadMinimum) {
    text.append(" ").append(loadText(*figures.loadMinimum, decimalPoint)).append(".");
  }
  if (figures.spread) {
    text.append(" ").append(tolerancesText(figures.tolerances, decimalPoint));
    if (const std::string sum = sumSpreadText(figures, decimalPoint); !sum.empty()) {
      text.append("; ").append(sum);
    }
    text.append(".");
  }
  return text;
}

}  // namespace kalvena::ui
