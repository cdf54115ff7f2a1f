#include "level_search.h"

#include <cmath>
#include <vector>

namespace kalvena {

std::optional<Crossings> levelCrossings(const std::function<double(double hz)>& levelDb,
                                        double lowHz, double highHz, double referenceDb) {
  const double from = lowHz / 100.0, to = highHz * 100.0;
  if (!(from > 0.0) || !std::isfinite(to) || !(to >= from) || !std::isfinite(referenceDb)) {
    return std::nullopt;
  }
  const double halfPower = referenceDb - 10.0 * std::log10(2.0);
  // Samples evenly spaced in the logarithm of the frequency, both ends among them.
  const double decades = std::log10(to / from);
  const auto count = static_cast<std::size_t>(std::ceil(decades * kSamplesPerDecade)) + 1;
  std::vector<double> hz(count), db(count);
  for (std::size_t i = 0; i < count; ++i) {
    hz[i] = i + 1 == count ? to : from * std::pow(10.0, decades * double(i) / double(count - 1));
    db[i] = levelDb(hz[i]);
    if (!std::isfinite(db[i])) return std::nullopt;
  }
  const auto above = [&](double f) { return levelDb(f) >= halfPower; };
  // Bisected in the logarithm of the frequency until the bracket is a billionth wide.
  const auto crossing = [&](double lo, double hi) {
    const bool loAbove = above(lo);
    while (hi / lo > 1 + 1e-9) {
      const double mid = std::sqrt(lo) * std::sqrt(hi);
      (above(mid) == loAbove ? lo : hi) = mid;
    }
    return std::sqrt(lo) * std::sqrt(hi);
  };
  // A golden-section search for the highest (sign +1) or lowest (-1) level in [lo, hi].
  const auto extreme = [&](double lo, double hi, double sign) {
    const double g = (std::sqrt(5.0) - 1) / 2;
    double a = std::log(lo), b = std::log(hi);
    double c = b - g * (b - a), d = a + g * (b - a);
    double fc = sign * levelDb(std::exp(c)), fd = sign * levelDb(std::exp(d));
    while (b - a > 1e-9) {
      if (fc > fd) {
        b = d, d = c, fd = fc, c = b - g * (b - a), fc = sign * levelDb(std::exp(c));
      } else {
        a = c, c = d, fc = fd, d = a + g * (b - a), fd = sign * levelDb(std::exp(d));
      }
    }
    const double at = std::exp((a + b) / 2);
    return Extreme{at, levelDb(at)};
  };

  Crossings found;
  if (db.front() >= halfPower) found.stretches.push_back({});
  for (std::size_t i = 1; i < count; ++i) {
    const bool was = db[i - 1] >= halfPower, is = db[i] >= halfPower;
    if (was == is) continue;
    const double at = crossing(hz[i - 1], hz[i]);
    if (is) {
      if (!found.rising) found.rising = at;
      found.stretches.push_back({at, std::nullopt});
    } else {
      found.falling = at;
      found.stretches.back().to = at;
    }
  }
  for (std::size_t i = 1; i + 1 < count; ++i) {
    if (db[i] > db[i - 1] && db[i] >= db[i + 1]) {
      found.peaks.push_back(extreme(hz[i - 1], hz[i + 1], 1));
    } else if (db[i] < db[i - 1] && db[i] <= db[i + 1]) {
      found.dips.push_back(extreme(hz[i - 1], hz[i + 1], -1));
    }
  }
  return found;
}

}  // namespace kalvena
