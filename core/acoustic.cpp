#include "acoustic.h"

#include <kissfft.hh>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>

namespace kalvena {
namespace {

// The grid of the logarithm of the frequency the phase is worked out on: points a decade, and
// how many decades it runs beyond the file at either end.
constexpr int kMinimumPhasePerDecade = 256;
constexpr double kMinimumPhaseMargin = 6;

// The level at a frequency of the given curve, interpolated in the logarithm of the frequency
// and continued beyond its ends at the slopes given.
class Extended {
 public:
  Extended(std::span<const double> hz, std::span<const double> db) : hz_(hz), db_(db) {
    lowSlope_ = slope(hz.front(), std::min(2 * hz.front(), hz.back()));
    highSlope_ = slope(std::max(hz.back() / 2, hz.front()), hz.back());
  }
  double at(double f) const {
    if (f <= hz_.front()) return db_.front() + lowSlope_ * std::log2(f / hz_.front());
    if (f >= hz_.back()) return db_.back() + highSlope_ * std::log2(f / hz_.back());
    return inside(f);
  }

 private:
  double inside(double f) const {
    const auto above = std::upper_bound(hz_.begin(), hz_.end(), f);
    const std::size_t i =
        std::clamp<std::size_t>(static_cast<std::size_t>(above - hz_.begin()), 1, hz_.size() - 1);
    const double t = std::log(f / hz_[i - 1]) / std::log(hz_[i] / hz_[i - 1]);
    return db_[i - 1] + t * (db_[i] - db_[i - 1]);
  }
  double slope(double from, double to) const {
    if (!(to > from)) return 0;
    const double perOctave = (inside(to) - inside(from)) / std::log2(to / from);
    return std::clamp(perOctave, -kExtensionSlopeDb, kExtensionSlopeDb);
  }
  std::span<const double> hz_, db_;
  double lowSlope_ = 0, highSlope_ = 0;
};

}  // namespace

std::vector<double> minimumPhaseDegrees(std::span<const double> hz, std::span<const double> db) {
  // Bode's form of the Hilbert transform: over u = ln f, the phase is the slope of the log
  // magnitude convolved with ln coth(|u|/2) / pi. The grid runs kMinimumPhaseMargin decades
  // beyond the file at either end, where the kernel has fallen to a millionth.
  const double h = std::numbers::ln10 / kMinimumPhasePerDecade;
  const double margin = kMinimumPhaseMargin * std::numbers::ln10;
  const double first = std::log(hz.front()) - margin;
  const auto m =
      static_cast<std::size_t>(std::ceil((std::log(hz.back()) + margin - first) / h)) + 1;
  const Extended level(hz, db);
  std::vector<double> nepers(m);
  const double nepersPerDb = std::numbers::ln10 / 20;
  for (std::size_t j = 0; j < m; ++j) {
    nepers[j] = level.at(std::exp(first + static_cast<double>(j) * h)) * nepersPerDb;
  }
  // The FFT's length: a power of two that holds the linear convolution of m and m points.
  std::size_t n = 1;
  while (n < 2 * m) n *= 2;
  std::vector<std::complex<double>> slope(n), kernel(n), slopeAt(n), kernelAt(n);
  for (std::size_t j = 0; j < m; ++j) {
    const std::size_t before = j == 0 ? 0 : j - 1, after = std::min(j + 1, m - 1);
    slope[j] = (nepers[after] - nepers[before]) / (static_cast<double>(after - before) * h);
  }
  // The kernel averaged over each cell of the grid: its logarithmic peak at 0 exactly (the
  // integral of -ln(u/2) over the half cell; ln((u/2) coth(u/2)) is some u^2/12 there), the
  // others by Simpson's rule.
  const auto k = [](double u) { return std::log(1 / std::tanh(u / 2)) / std::numbers::pi; };
  const double a = h / 2;
  kernel[0] = a * (1 - std::log(a / 2)) * 2 / h / std::numbers::pi;
  for (std::size_t i = 1; i < m; ++i) {
    const double u = static_cast<double>(i) * h;
    const double value = (k(u - a) + 4 * k(u) + k(u + a)) / 6;
    kernel[i] = value;
    kernel[n - i] = value;
  }
  kissfft<double>(n, false).transform(slope.data(), slopeAt.data());
  kissfft<double>(n, false).transform(kernel.data(), kernelAt.data());
  for (std::size_t i = 0; i < n; ++i) slopeAt[i] *= kernelAt[i] * h / static_cast<double>(n);
  kissfft<double>(n, true).transform(slopeAt.data(), slope.data());
  std::vector<double> degrees;
  degrees.reserve(hz.size());
  for (const double f : hz) {
    const double at = (std::log(f) - first) / h;
    const std::size_t j = std::min(static_cast<std::size_t>(at), m - 2);
    const double t = at - static_cast<double>(j);
    const double radians = slope[j].real() + t * (slope[j + 1].real() - slope[j].real());
    degrees.push_back(radians * 180 / std::numbers::pi);
  }
  return degrees;
}

std::optional<MeasuredResponse> MeasuredResponse::of(std::vector<ResponsePoint> points,
                                                     bool phase) {
  if (points.size() < 2) return std::nullopt;
  for (const ResponsePoint& p : points) {
    if (!std::isfinite(p.db) || std::fabs(p.db) > 1000) return std::nullopt;
  }
  if (!phase) {
    for (std::size_t i = 1; i < points.size(); ++i) {
      if (!(points[i].hz > points[i - 1].hz) || !(points[0].hz > 0)) return std::nullopt;
    }
    std::vector<double> hz, db;
    for (const ResponsePoint& p : points) {
      hz.push_back(p.hz);
      db.push_back(p.db);
    }
    const std::vector<double> degrees = minimumPhaseDegrees(hz, db);
    for (std::size_t i = 0; i < points.size(); ++i) points[i].degrees = degrees[i];
  }
  std::vector<ImpedancePoint> gains;
  for (const ResponsePoint& p : points) {
    gains.push_back({p.hz, std::pow(10.0, p.db / 20), p.degrees});
  }
  std::optional<MeasuredImpedance> curve = MeasuredImpedance::of(std::move(gains));
  if (!curve) return std::nullopt;
  // The phase as the curve unwrapped it.
  for (std::size_t i = 0; i < points.size(); ++i) points[i].degrees = curve->points()[i].degrees;
  return MeasuredResponse(std::move(points), std::move(*curve), !phase);
}

std::optional<double> MeasuredResponse::averageDb(double lowHz, double highHz) const {
  const double from = std::max(lowHz, points_.front().hz);
  const double to = std::min(highHz, points_.back().hz);
  if (!(to > from)) return std::nullopt;
  // Trapezoids over the logarithm of the frequency, the ends interpolated.
  const auto dbAt = [&](double f) { return 20 * std::log10(std::abs(at(f))); };
  double area = 0, lastLog = std::log(from), lastDb = dbAt(from);
  for (const ResponsePoint& p : points_) {
    if (p.hz <= from) continue;
    const double f = std::min(p.hz, to), logF = std::log(f), db = p.hz < to ? p.db : dbAt(to);
    area += (logF - lastLog) * (db + lastDb) / 2;
    lastLog = logF;
    lastDb = db;
    if (p.hz >= to) break;
  }
  return area / (std::log(to) - std::log(from));
}

}  // namespace kalvena
