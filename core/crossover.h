#pragma once

// The three bands together, as a builder hears them: each section's response into its driver
// (a resistor of the band's typed impedance, or the driver chosen for it with what goes around
// it), each driver taken as turning its voltage into sound alike at every frequency, and the
// drivers' acoustic sum as complex voltages, with the middle driver connected either way round.

#include <array>
#include <complex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "band_driver.h"
#include "response.h"

namespace kalvena {

// The audible range, over which the sum is judged.
inline constexpr double kAudibleLowHz = 20;
inline constexpr double kAudibleHighHz = 20000;

class Crossover {
 public:
  // The built sections (one not calculated left out), each with the parts of a set, each into
  // the driver chosen for it.
  Crossover(const BuiltSections& sections, PartsSet set, const BandDrivers& drivers = {},
            Hearing hearing = Hearing::Electrical);

  bool has(Section section) const { return ladders_[index(section)].has_value(); }
  // The frequencies typed for a section, the lower first; 0 for one left out.
  double lowHz(Section section) const;
  double highHz(Section section) const;
  // A section's voltage across its driver over the amplifier's, or its sound where heard so;
  // 0 where it is left out.
  std::complex<double> response(Section section, double hz) const;
  Hearing hearing() const { return hearing_; }
  // What a section's driver makes of its voltage where heard (its measured response over the
  // reference, delayed by its offset); 1 where not.
  std::complex<double> heard(Section section, double hz) const;
  // Heard: the level that is 0 dB (of the measured responses' own scale), and the range that
  // every measured response covers; nothing where no band has one.
  std::optional<double> referenceDb() const { return referenceDb_; }
  std::optional<std::pair<double, double>> measuredRange() const;
  // A band's driver's average level over the band's own pass band (a low-pass's from 20 Hz, a
  // high-pass's to 20 kHz), from its measured response; nothing without one.
  std::optional<double> passBandLevel(Section section) const;
  // The level a band's crossings are read against, in dB: its pad's attenuation below 0 dB,
  // and, heard, its driver's level over the quietest one's.
  double bandLevelDb(Section section) const;
  // A band's -3 dB crossings on its level as given by response (heard or not), read against
  // bandLevelDb; nothing where it is left out or its level cannot be worked out.
  std::optional<Crossings> crossings(Section section) const;
  // The drivers' sum: the middle one's voltage taken with its sign turned where reversed.
  std::complex<double> sum(double hz, bool middleReversed) const;
  // The same of the three responses at a frequency.
  static std::complex<double> sumOf(std::complex<double> low, std::complex<double> middle,
                                    std::complex<double> high, bool middleReversed) {
    return low + (middleReversed ? -middle : middle) + high;
  }
  // The impedance at the amplifier's terminals, in ohms: the calculated sections in parallel,
  // each into its driver. Nothing where none is calculated.
  std::optional<std::complex<double>> amplifierLoad(double hz) const;

 private:
  struct Built {
    std::vector<LadderElement> ladder;
    double load;
    double lowHz;
    double highHz;
    std::optional<BandLoad> real;  // where the band drives more than its typed resistance
    std::optional<MeasuredResponse> sound;
    double delaySeconds = 0;
  };
  static std::size_t index(Section s) { return static_cast<std::size_t>(s); }
  std::array<std::optional<Built>, 3> ladders_;
  Hearing hearing_;
  std::optional<double> referenceDb_;
  double referenceGain_ = 1;
};

// The L-pad, in dB, that brings each band with a measured response to the quietest one's
// level over its pass band (0 for the quietest); nothing for a band without one.
std::array<std::optional<double>, 3> proposedPads(const Crossover& crossover);
// The same of the bands' levels.
std::array<std::optional<double>, 3> padsToQuietest(std::array<std::optional<double>, 3> levels);
// A driver's average level over a band's pass band: a low-pass's from 20 Hz to its crossing, a
// middle band's between its two, a high-pass's from its crossing to 20 kHz.
std::optional<double> passBandLevel(const MeasuredResponse& sound, Section section, double lowHz,
                                    double highHz);

// The range the sum is judged over: where the calculated bands play, from the lowest one's
// lower end to the highest one's upper end (a low-pass plays from 20 Hz, a high-pass to
// 20 kHz), within the audible range. A missing band's silence is not judged.
struct SumRange {
  double lowHz = kAudibleLowHz;
  double highHz = kAudibleHighHz;
};
SumRange judgedRange(const Crossover& crossover);

// The level furthest from 0 dB that the sum reaches over the range judged, and where.
struct SumDeviation {
  double db = 0;
  double hz = 0;
};

// Below this in both polarities the sum has a hole between the bands, which no polarity mends.
inline constexpr double kGapDb = -6;
// Polarities whose largest deviations differ by less than this are as good as each other.
inline constexpr double kEitherPolarityDb = 0.5;

// Where the sum falls below kGapDb in both polarities: the stretch around its deepest point,
// and how deep the better polarity goes there.
struct SumGap {
  double fromHz = 0;
  double toHz = 0;
  double db = 0;
  double hz = 0;
};

// Which way round the middle driver goes, judged over the range the bands play: the polarity
// whose sum stays nearer 0 dB (the smaller largest deviation), either where the two differ by
// less than kEitherPolarityDb, and none where the bands leave a gap between them. Nothing where
// the middle section or both of its neighbours are left out: there is nothing to add it to.
enum class Polarity { Same, Reversed, Either, Gap };
struct PolarityAdvice {
  Polarity polarity = Polarity::Same;
  SumRange range;
  SumDeviation same;
  SumDeviation reversed;
  std::optional<SumGap> gap;  // where polarity is Gap
  // The sum drawn as the one to build: the reversed one only where it is advised.
  bool reverseMiddle() const { return polarity == Polarity::Reversed; }
};
std::optional<PolarityAdvice> middlePolarity(const Crossover& crossover);

// The amplifier's load over the audible range: its smallest magnitude and where, and the
// system's rated impedance in the usual sense: the largest of 2, 4, 6 and 8 ohm that the
// minimum does not fall more than 20 % below (none where it falls below 1.6 ohm).
struct LoadMinimum {
  double ohms = 0;
  double hz = 0;
  std::optional<int> rated;
};
inline constexpr int kRatedImpedances[] = {8, 6, 4, 2};
std::optional<LoadMinimum> amplifierLoadMinimum(const Crossover& crossover);

}  // namespace kalvena
