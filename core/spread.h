#pragma once

// The spread of what a builder really builds: every part bought is somewhere within its
// tolerance, so a crossover built from a set of parts is one of many. A seeded Monte Carlo of
// builds, each part drawn uniformly within its tolerance and independently of the others, gives
// the band that most builds' curves lie in, and where most of them cross.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "crossover.h"

namespace kalvena {

inline constexpr int kSpreadBuilds = 1000;
inline constexpr std::uint64_t kSpreadSeed = 0x6b616c76656e61;  // the same everywhere
// The spread's frequencies: this many a decade over the plot's range, 304 from 10 Hz to 40 kHz.
inline constexpr int kSpreadPerDecade = 84;

// A frequency's 5th and 95th percentile over the builds.
struct Percentiles {
  double low = 0, high = 0;
};

struct Spread {
  std::vector<double> hz;
  // Per band (indexed by Section) and then the sum: the levels' percentiles at each frequency,
  // in dB; empty for a band not calculated (the sum: fewer than two bands).
  std::array<std::vector<Percentiles>, 4> db;
  // Per band, where its builds cross -3 dB below its level, rising and falling: nothing where
  // the nominal build does not, or not every build does within the frequencies.
  std::array<std::optional<Percentiles>, 3> rising, falling;
  // The largest deviation of the sum from 0 dB over the range judged that 95 % of the builds
  // stay within; nothing where it has no sum.
  std::optional<double> sumWithinDb;
  int builds = 0;
};

// The spread of `builds` builds of the sections with the parts of a set, each into its driver,
// heard as given, with the middle driver reversed in the sum where `middleReversed`. The same
// seed gives the same spread on every platform, with any number of threads (`threads` 0: as
// many as the machine has, at most two).
Spread spreadOf(const BuiltSections& sections, PartsSet set, const BandDrivers& drivers,
                Hearing hearing, bool middleReversed, const Tolerances& tolerances,
                int builds = kSpreadBuilds, std::uint64_t seed = kSpreadSeed, unsigned threads = 0);

// The frequencies of the spread: kSpreadPerDecade a decade from low to high, both included.
std::vector<double> spreadFrequencies(double lowHz, double highHz);

}  // namespace kalvena
