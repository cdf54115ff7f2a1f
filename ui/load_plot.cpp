#include "load_plot.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "response_text.h"
#include "result_text.h"

namespace kalvena::ui {
namespace {

constexpr Color kPhase{150, 110, 30};
// The magnitude's scale: the smallest of these that the load stays a tenth under in the audible
// range, each a multiple of four, so that its quarters are whole ohms.
constexpr double kOhmScales[] = {12, 16, 24, 32, 48, 64, 96, 128, 256};

}  // namespace

double loadPlotHeight(double viewHeight) {
  return std::min(kLoadPlotHeight, std::floor(viewHeight * 0.4));
}

void drawResponseView(Painter& painter, double width, double height, const ResponseFigures& figures,
                      std::string_view decimalPoint) {
  const double load = loadPlotHeight(height);
  drawResponsePlot(painter, width, height - load, figures, decimalPoint);
  drawLoadPlot(painter, height - load, width, load, figures, decimalPoint);
}

void drawLoadPlot(Painter& painter, double top, double width, double height,
                  const ResponseFigures& figures, std::string_view decimalPoint) {
  painter.fill({0, top}, width, height, kWhite);
  // The frequencies lie as on the response plot above.
  const PlotFrame above = plotFrame(width, height);
  PlotFrame f{above.left, top + 24, above.right, std::max(top + height - 8, top + 25)};
  if (figures.load.empty()) {
    painter.text({8, top + 16}, "Импеданс за усилвателя: няма изчислена лента", Anchor::Start,
                 kPlotTextPixels, kBlack);
    return;
  }
  if (figures.loadMinimum) {
    painter.text({8, top + 16}, loadText(*figures.loadMinimum, decimalPoint), Anchor::Start,
                 kPlotTextPixels, kBlack);
  }
  double largest = 0;
  for (std::size_t i = 0; i < figures.load.size(); ++i) {
    const double hz = curveHz(i);
    if (hz >= kAudibleLowHz && hz <= kAudibleHighHz) {
      largest = std::max(largest, std::abs(figures.load[i]));
    }
  }
  const double* scale = std::find_if(std::begin(kOhmScales), std::end(kOhmScales) - 1,
                                     [&](double s) { return largest <= 0.9 * s; });
  const auto y = [&](double ohms) {
    return f.bottom - std::clamp(ohms / *scale, 0.0, 1.0) * (f.bottom - f.top);
  };
  const auto yPhase = [&](double degrees) {
    return f.top + (90 - std::clamp(degrees, -90.0, 90.0)) / 180 * (f.bottom - f.top);
  };
  shadeBeyondAudible(painter, f);
  for (int quarter = 0; quarter <= 4; ++quarter) {
    const double ohms = *scale * quarter / 4;
    painter.line({f.left, y(ohms)}, {f.right, y(ohms)}, {quarter == 0 ? kDecade : kGrid, 1, false});
    painter.text({f.left - 5, y(ohms) + 4},
                 resultText(ohms, decimalPoint).value_or("?") + (quarter == 4 ? " Ω" : ""),
                 Anchor::End, kPlotTextPixels, kLabelInk);
  }
  drawFrequencyLines(painter, f);
  // The phase on its own scale, ±90° at the frame's top and bottom, under the magnitude.
  std::vector<Point> phase, magnitude;
  for (std::size_t i = 0; i < figures.load.size(); ++i) {
    const double x = f.x(curveHz(i));
    phase.push_back({x, yPhase(std::arg(figures.load[i]) * 180 / std::numbers::pi)});
    magnitude.push_back({x, y(std::abs(figures.load[i]))});
  }
  painter.polyline(phase, {kPhase, 1, true, true});
  painter.polyline(magnitude, {kBlack, 1.5, false, true});
  // Its scale's labels inside the frame's right end, 0° over its line.
  for (const auto& [degrees, label] :
       {std::pair{90.0, "фаза +90°"}, {0.0, "0°"}, {-90.0, "−90°"}}) {
    const double at = std::clamp(yPhase(degrees) - 3, f.top + 11, f.bottom - 3);
    painter.text({f.right - 4, at}, label, Anchor::End, kPlotSmallTextPixels, kPhase);
  }
  if (figures.loadMinimum) {
    const LoadMinimum& m = *figures.loadMinimum;
    painter.circle({f.x(m.hz), y(m.ohms)}, 3, kWhite, {kBlack, 1.5, false});
  }
}

}  // namespace kalvena::ui
