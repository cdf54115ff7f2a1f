#pragma once

// Where a band's level crosses half power when the band drives a real load: an impedance that
// is no ratio of polynomials (a measured curve), so that the crossings are searched on the
// level itself, sampled densely in frequency and refined.

#include <functional>
#include <optional>

#include "ladder.h"

namespace kalvena {

// Samples a decade is searched at: a stretch, peak or dip narrower than a fortieth of a decade
// may be missed, and two peaks closer than that found as one; the rest are found, and their
// edges and extremes refined to a billionth of their frequency.
inline constexpr int kSamplesPerDecade = 96;

// The crossings of `levelDb` (a level in dB at a frequency in hertz) through `referenceDb` less
// half power (3.01 dB), with its stretches at or above that, and its peaks and dips, searched
// from a hundredth of lowHz to a hundred times highHz as minus3DbCrossings searches a ladder
// into a resistance. Nothing where the level is not a finite number somewhere on the way.
std::optional<Crossings> levelCrossings(const std::function<double(double hz)>& levelDb,
                                        double lowHz, double highHz, double referenceDb = 0);

}  // namespace kalvena
