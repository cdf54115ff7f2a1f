#pragma once

// The amplifier's load under the response plot: the magnitude of the impedance at the
// amplifier's terminals in ohms and its phase, over the response plot's frequencies and aligned
// with it, its minimum marked and said with the rating it allows.

#include <string>
#include <string_view>

#include "painter.h"
#include "response_plot.h"

namespace kalvena::ui {

// The height of the load's plot in a view of that height; the response plot has the rest above.
// At the response window's first size the response plot keeps the height it had alone.
inline constexpr double kLoadPlotHeight = 200;
double loadPlotHeight(double viewHeight);

// The response plot over the load's, on a surface of width by height pixels.
void drawResponseView(Painter& painter, double width, double height, const ResponseFigures& figures,
                      std::string_view decimalPoint);

// The load's plot in the band from `top` down by `height` pixels.
void drawLoadPlot(Painter& painter, double top, double width, double height,
                  const ResponseFigures& figures, std::string_view decimalPoint);

}  // namespace kalvena::ui
