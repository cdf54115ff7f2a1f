#pragma once

// The three bands together, as a builder hears them: each section's response into its driver,
// taken as an ideal flat driver, and the drivers' acoustic sum as complex voltages, with the
// middle driver connected either way round.

#include <array>
#include <complex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "response.h"

namespace kalvena {

// The audible range, over which the sum is judged.
inline constexpr double kAudibleLowHz = 20;
inline constexpr double kAudibleHighHz = 20000;

class Crossover {
 public:
  // The built sections (one not calculated left out), each with the parts of a set.
  Crossover(const BuiltSections& sections, PartsSet set);

  bool has(Section section) const { return ladders_[index(section)].has_value(); }
  // A section's voltage across its driver over the amplifier's; 0 where it is left out.
  std::complex<double> response(Section section, double hz) const;
  // The drivers' sum: the middle one's voltage taken with its sign turned where reversed.
  std::complex<double> sum(double hz, bool middleReversed) const;

 private:
  struct Built {
    std::vector<LadderElement> ladder;
    double load;
  };
  static std::size_t index(Section s) { return static_cast<std::size_t>(s); }
  std::array<std::optional<Built>, 3> ladders_;
};

// The level furthest from 0 dB that the sum reaches between 20 Hz and 20 kHz, and where.
struct SumDeviation {
  double db = 0;
  double hz = 0;
};
SumDeviation largestDeviation(const Crossover& crossover, bool middleReversed);

// Which way round the middle driver goes: the polarity whose sum stays nearer 0 dB over the
// audible range (the smaller largest deviation; in the same polarity where both are equal
// to a hundredth of a dB), and the sum's largest deviation in each. Nothing where the middle
// section or both of its neighbours are left out: there is nothing to add it to.
struct PolarityAdvice {
  bool reverseMiddle = false;
  SumDeviation same;
  SumDeviation reversed;
};
std::optional<PolarityAdvice> middlePolarity(const Crossover& crossover);

// "Средният говорител: обърнете полярността (+ към −)" or "Средният говорител: в една
// полярност с другите".
std::string polarityText(const PolarityAdvice& advice);
// "сумата 20 Hz–20 kHz: обърнат +3.0 dB, в една полярност под −60 dB": the largest deviation
// in each polarity, the advised one first.
std::string deviationsText(const PolarityAdvice& advice, std::string_view decimalPoint);

// What a parts list says of the sum: the advice for the computed values, then for each set of
// parts the sum's largest deviation in each polarity, and the advice where it differs:
//   Средният говорител: обърнете полярността (+ към −)
//   Точни стойности: сумата 20 Hz–20 kHz: обърнат +3.4 dB, в една полярност −21.0 dB
//   E12: …
// Empty where nothing is advised.
std::string polarityLines(const BuiltSections& sections, std::string_view decimalPoint);

}  // namespace kalvena
