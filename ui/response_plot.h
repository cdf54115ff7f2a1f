#pragma once

// The response window's plot: each calculated band's level into its driver and the drivers' sum,
// over 10 Hz to 40 kHz and +10 to -40 dB, drawn on the painter so that both toolkits show the
// same thing.

#include <string>
#include <string_view>

#include "crossover.h"
#include "painter.h"

namespace kalvena::ui {

inline constexpr const char* kResponseTitle = "Честотна характеристика";
// The choices of parts, in the order of kPartsSets.
inline constexpr const char* kPartsSetNames[] = {"Точни стойности", "E12", "E24", "E12 ×2"};

inline constexpr double kPlotLowHz = 10;
inline constexpr double kPlotHighHz = 40000;
inline constexpr double kPlotTopDb = 10;
inline constexpr double kPlotBottomDb = -40;

// The bands' colours, indexed by Section, and the sum's.
inline constexpr Color kBandColors[] = {{25, 85, 190}, {20, 135, 55}, {200, 35, 35}};
inline constexpr Color kSumColor = kBlack;

// Where the plot's axes lie in a surface of width by height pixels.
struct PlotFrame {
  double left, top, right, bottom;
  double x(double hz) const;
  double y(double db) const;
  double hz(double x) const;  // the frequency drawn at x
};
PlotFrame plotFrame(double width, double height);

// Draws the plot for the sections as the window shows them, built of the set's parts.
void drawResponsePlot(Painter& painter, double width, double height, const BuiltSections& sections,
                      PartsSet set, std::string_view decimalPoint);

// What a screen reader says of the plot: the parts, per band its crossings, peaks and dips (or
// that it is not calculated), and the middle driver's polarity with the sum's deviations.
std::string responseDescription(const BuiltSections& sections, PartsSet set,
                                std::string_view decimalPoint);

}  // namespace kalvena::ui
