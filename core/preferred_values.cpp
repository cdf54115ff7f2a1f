#include "preferred_values.h"

#include <array>
#include <cmath>
#include <iterator>
#include <span>

namespace kalvena {
namespace {

// Each series' values in the decade from 1 to 10, times ten.
constexpr std::array<int, 12> kE12{10, 12, 15, 18, 22, 27, 33, 39, 47, 56, 68, 82};
constexpr std::array<int, 24> kE24{10, 11, 12, 13, 15, 16, 18, 20, 22, 24, 27, 30,
                                   33, 36, 39, 43, 47, 51, 56, 62, 68, 75, 82, 91};

// 10^n, exact up to 10^22; from a table, since std::pow is slow and the searches ask often.
double powerOfTen(int n) {
  static constexpr double kExact[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                      1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                      1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  return n < static_cast<int>(std::size(kExact)) ? kExact[n] : std::pow(10.0, n);
}

// base * 10^exponent, as the double nearest that decimal while 10^|exponent| is exact.
double scaled(int base, int exponent) {
  const double power = powerOfTen(std::abs(exponent));
  return exponent >= 0 ? base * power : base / power;
}

}  // namespace

double nearestPreferred(double value, PreferredSeries series) {
  const std::span<const int> bases =
      series == PreferredSeries::E12 ? std::span<const int>(kE12) : std::span<const int>(kE24);
  // The bases are tenths, so the decade of value is one exponent up; the neighbouring decades
  // are searched too, which covers the top of a decade (9.6 -> 10) and rounding in log10.
  const int decade = static_cast<int>(std::floor(std::log10(value))) - 1;
  double best = 0;
  double bestDistance = INFINITY;
  for (int exponent = decade - 1; exponent <= decade + 1; ++exponent) {
    for (const int base : bases) {
      const double candidate = scaled(base, exponent);
      const double distance = std::fabs(candidate - value);
      if (distance < bestDistance) {
        best = candidate;
        bestDistance = distance;
      }
    }
  }
  return best;
}

std::optional<PreferredPair> nearestE12Pair(double value) {
  // Exponents are of the tenths, as in nearestPreferred.
  const int decade = static_cast<int>(std::floor(std::log10(value))) - 1;
  const double tolerance = value * 1e-12;  // how far the decimal values' doubles may be off
  std::optional<PreferredPair> best;
  double bestDistance = std::fabs(nearestPreferred(value, PreferredSeries::E12) - value);
  for (int largeExponent = decade - 1; largeExponent <= decade + 1; ++largeExponent) {
    for (const int large : kE12) {
      // Every value lies within 9.9 % of its nearest E12 part, so a pair nearer than that part
      // sums to within 9.9 % of value, and its larger part, at least half the sum and at most
      // 10/11 of it, lies between 0.45 and 1 times value: the others need not be tried.
      const double larger = scaled(large, largeExponent);
      if (larger < 0.4 * value || larger > 1.01 * value) continue;
      // The smaller part from the larger's decade or the one below.
      for (int smallExponent = largeExponent - 1; smallExponent <= largeExponent; ++smallExponent) {
        for (const int small : kE12) {
          const int largeInSmallUnits = smallExponent == largeExponent ? large : large * 10;
          if (small > largeInSmallUnits || small * 10 < largeInSmallUnits) continue;
          // Summed as whole tenths, so that the sum is the decimal one.
          const double sum = scaled(largeInSmallUnits + small, smallExponent);
          const double smaller = scaled(small, smallExponent);
          const double distance = std::fabs(sum - value);
          const bool nearer = distance < bestDistance - tolerance;
          const bool asNearWithLargerSmall =
              best && std::fabs(distance - bestDistance) <= tolerance && smaller > best->smaller;
          if (nearer || asNearWithLargerSmall) {
            best = PreferredPair{larger, smaller, sum};
            bestDistance = distance;
          }
        }
      }
    }
  }
  return best;
}

}  // namespace kalvena
