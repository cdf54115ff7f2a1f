#include "ladder.h"

#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

namespace kalvena {
namespace {

using Complex = std::complex<double>;

// "-3 dB" is the half-power point, 1/sqrt(2) of the source's voltage (-3.0103 dB), as a
// crossover's edge is meant; and how finely the search first samples the band, per decade.
const double kLevel = -10.0 * std::log10(2.0);
constexpr int kSamplesPerDecade = 48;

}  // namespace

double ladderLevelDb(std::span<const LadderElement> ladder, double load, double hz) {
  // The chain (ABCD) matrix of the ladder, element by element from the source: a series
  // impedance Z is [1 Z; 0 1], an admittance Y across the wires [1 0; Y 1]. Into a load R the
  // voltage ratio is 1 / (A + B / R).
  const Complex jw(0.0, 2.0 * std::numbers::pi * hz);
  Complex a = 1.0, b = 0.0, c = 0.0, d = 1.0;
  for (const LadderElement& e : ladder) {
    const bool capacitor = e.kind == LadderElement::Kind::Capacitor;
    if (e.place == LadderElement::Place::Series) {
      const Complex z = capacitor ? 1.0 / (jw * e.value) : jw * e.value;
      b += a * z;
      d += c * z;
    } else {
      const Complex y = capacitor ? jw * e.value : 1.0 / (jw * e.value);
      a += b * y;
      c += d * y;
    }
  }
  return -20.0 * std::log10(std::abs(a + b / load));
}

Crossings minus3DbCrossings(std::span<const LadderElement> ladder, double load, double lowHz,
                            double highHz) {
  const auto above = [&](double hz) { return ladderLevelDb(ladder, load, hz) - kLevel; };
  const double from = std::log10(lowHz / 100.0), to = std::log10(highHz * 100.0);
  const int steps = std::max(2, static_cast<int>(std::ceil((to - from) * kSamplesPerDecade)));
  std::vector<double> hz, level;
  for (int i = 0; i <= steps; ++i) {
    hz.push_back(std::pow(10.0, from + (to - from) * i / steps));
    level.push_back(above(hz.back()));
  }
  // A sign change between samples is refined by bisection in log frequency.
  const auto refine = [&](std::size_t i) {
    double lo = hz[i], hi = hz[i + 1];
    const bool risingHere = level[i] < 0;
    for (int k = 0; k < 60; ++k) {
      const double mid = std::sqrt(lo * hi);
      ((above(mid) < 0) == risingHere ? lo : hi) = mid;
    }
    return std::sqrt(lo * hi);
  };
  Crossings found;
  for (std::size_t i = 0; i + 1 < hz.size(); ++i) {
    if (level[i] < 0 && level[i + 1] >= 0 && !found.rising) found.rising = refine(i);
    if (level[i] >= 0 && level[i + 1] < 0) found.falling = refine(i);
  }
  return found;
}

}  // namespace kalvena
