#pragma once

// The response window's plot: each calculated band's level into its driver and the drivers' sum,
// over 10 Hz to 40 kHz and +10 to -40 dB, drawn on the painter so that both toolkits show the
// same thing. What it shows is worked out once for each choice of parts when the sections change
// (the figures); drawing and describing it only read them.

#include <array>
#include <complex>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "crossover.h"
#include "painter.h"
#include "response_text.h"
#include "spread.h"
#include "toolkit.h"

namespace kalvena::ui {

inline constexpr const char* kResponseTitle = "Честотна характеристика";
// The response window's first size, in logical pixels: the response plot as it was alone, and
// the amplifier's load under it.
inline constexpr int kResponseWidth = 720;
inline constexpr int kResponseHeight = 680;
// Its row of choices above the plot.
inline constexpr ResponseLayout kResponseLayout{.choicesLeft = 10,
                                                .choicesTop = 8,
                                                .choiceStep = 130,
                                                .choiceWidth = 124,
                                                .choiceHeight = 20,
                                                .plotTop = 32,
                                                .buttonLeft = 560,
                                                .buttonWidth = 150};

inline constexpr double kPlotLowHz = 10;
inline constexpr double kPlotHighHz = 40000;
inline constexpr double kPlotTopDb = 10;
inline constexpr double kPlotBottomDb = -40;
// The curves are worked out at this many frequencies a decade, evenly on the log scale: finer
// than a column of the plot at the response window's first width (some 185 a decade). Twice as
// many took opening and redrawing the window from 8 to 19 ms, past a frame.
inline constexpr int kCurvePerDecade = 200;

// The bands' colours, indexed by Section, and the sum's.
inline constexpr Color kBandColors[] = {{25, 85, 190}, {20, 135, 55}, {200, 35, 35}};
inline constexpr Color kSumColor = kBlack;

// The plots' texts' sizes in pixels: their labels, and the smaller ones of the crossings and
// the audible range.
inline constexpr double kPlotTextPixels = 12;
inline constexpr double kPlotSmallTextPixels = 11;
// The plots' grid, the ground beyond the audible range, and the grey of their labels.
inline constexpr Color kGrid{215, 215, 215};
inline constexpr Color kDecade{170, 170, 170};
inline constexpr Color kOutside{240, 240, 240};
inline constexpr Color kLabelInk{60, 60, 60};

// Where the plot's axes lie in a surface of width by height pixels.
struct PlotFrame {
  double left, top, right, bottom;
  double x(double hz) const;
  double y(double db) const;
  double hz(double x) const;  // the frequency drawn at x
};
PlotFrame plotFrame(double width, double height);

// What the plot shows for one set of parts: each band's crossings and level, and the sum's in
// the advised polarity and in the other, at the frequencies curveHz gives; nothing for a band
// not calculated.
struct ResponseFigures {
  PartsSet set = PartsSet::Computed;
  std::array<bool, 3> has{};
  std::array<std::optional<Crossings>, 3> crossings;
  // The level each band's crossings are read against (its pad's, and heard, its driver's over
  // the quietest), so that its marks sit on its curve 3 dB below it.
  std::array<double, 3> bandLevelDb{};
  std::optional<PolarityAdvice> advice;
  std::array<std::vector<double>, 3> bandDb;
  std::vector<double> sumDb;       // as built: the advised polarity, in phase where none is
  std::vector<double> otherSumDb;  // the other polarity; empty where nothing is advised
  // Where a band's driver was measured, in hertz: its curve is drawn dashed beyond, and its
  // description says so; nothing for a driver that is a model or a resistor.
  std::array<std::optional<std::pair<double, double>>, 3> measured;
  // Where a band that drives more than its typed resistance would cross into that resistance,
  // which its description sets beside the real crossing; nothing for a band that drives it.
  std::array<std::optional<Crossings>, 3> nominal;
  // The impedance at the amplifier's terminals, in ohms; empty where no band is calculated.
  std::vector<std::complex<double>> load;
  std::optional<LoadMinimum> loadMinimum;
  // Heard: the level that is 0 dB, of the measured responses' own scale (none where no band has
  // one), and which bands' drivers have a response, over what range and with what phase.
  Hearing hearing = Hearing::Electrical;
  bool heardDiffers = false;  // some band's driver has a response or an offset
  std::optional<double> referenceDb;
  std::array<std::optional<std::pair<double, double>>, 3> heardRange;
  std::array<bool, 3> minimumPhase{};
  // The spread of builds where it is asked for, its tolerances.
  std::optional<Spread> spread;
  Tolerances tolerances;
  int bands() const { return has[0] + has[1] + has[2]; }
};
// The i-th frequency at which the curves are worked out, from kPlotLowHz; curveCount of them.
double curveHz(std::size_t i);
std::size_t curveCount();

// The figures of a set of parts, each band into the driver chosen for it, with each band that
// drives its typed resistance crossing as `crossings` gives it where it has it
// (bandCrossings(sections) where none are given).
// Heard, a band whose driver has a measured response crosses on its heard level; with the
// spread asked for, the spread of the set's builds.
ResponseFigures responseFigures(const BuiltSections& sections, const BandCrossings& crossings,
                                PartsSet set, const BandDrivers& drivers = {},
                                const Listening& listening = {});
inline ResponseFigures responseFigures(const BuiltSections& sections, PartsSet set,
                                       const BandDrivers& drivers = {},
                                       const Listening& listening = {}) {
  return responseFigures(sections, bandCrossings(sections), set, drivers, listening);
}

// The figures of each set of parts for the sections a window shows: worked out when first asked
// for after the sections changed, then kept, so that a repaint works nothing out.
class ResponseFigureCache {
 public:
  // The sections changed: their crossings are worked out now, the figures when asked for.
  void update(const BuiltSections& sections);
  // The drivers chosen, or how they are listened to, changed: the figures are worked out anew
  // when asked for.
  void setDrivers(const BandDrivers& drivers, const Listening& listening = {});
  const BandCrossings& crossings() const { return crossings_; }
  const ResponseFigures& figures(PartsSet set);

 private:
  BuiltSections sections_;
  BandCrossings crossings_;
  BandDrivers drivers_;
  Listening listening_;
  std::array<std::optional<ResponseFigures>, std::size(kPartsSets)> figures_;
};

// A plot's frame shaded beyond the audible range, and its frequencies' grid: each decade with
// its 2 and 5.
void shadeBeyondAudible(Painter& painter, const PlotFrame& frame);
void drawFrequencyLines(Painter& painter, const PlotFrame& frame);

// Draws the plot of the figures on a surface of width by height pixels.
void drawResponsePlot(Painter& painter, double width, double height, const ResponseFigures& figures,
                      std::string_view decimalPoint);

// What the spread says of a band's crossings: "пада при 321 Hz, 90 % между 305 и 338 Hz"
// (rising: "расте при"), the two joined by "; "; empty where it has none.
std::string crossingSpreadText(const ResponseFigures& figures, std::size_t band,
                               std::string_view decimalPoint);
// "Допуски: C ±5 %, L ±5 %, R ±5 %, Rбоб ±10 %"
std::string tolerancesText(const Tolerances& tolerances, std::string_view decimalPoint);
// "95 % от сглобките: сумата в ±1.8 dB"; empty where there is no sum's spread.
std::string sumSpreadText(const ResponseFigures& figures, std::string_view decimalPoint);
// "чуто: 0 dB = 86.2 dB по файловете" (heard, with a file), "чуто" (heard, flat drivers),
// "електрически".
std::string hearingText(const ResponseFigures& figures, std::string_view decimalPoint);

// What a screen reader says of the plot: the parts, per band its crossings, peaks and dips (or
// that it is not calculated), the middle driver's polarity with the sum's deviations, and the
// amplifier's load.
std::string responseDescription(const ResponseFigures& figures, std::string_view decimalPoint);

}  // namespace kalvena::ui
