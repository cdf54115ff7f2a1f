#pragma once

// What a driver makes of its voltage: its measured response (a .frd file: frequency, level in
// dB, phase), with the minimum phase worked out from the level where the file has none.

#include <complex>
#include <optional>
#include <span>
#include <vector>

#include "driver.h"

namespace kalvena {

// A measured response, a point a frequency: the level in dB and the phase in degrees.
struct ResponsePoint {
  double hz;
  double db;
  double degrees;
  bool operator==(const ResponsePoint&) const = default;
};

// A measured response: points at rising frequencies, at least two, each level finite. Between
// points the level (as a gain) and the phase are interpolated linearly in the logarithm of the
// frequency; outside them the nearest end's stands, and `covers` says it is outside the file.
class MeasuredResponse {
 public:
  // Nothing where the points are not such a curve. With `phase` the points' phase is taken
  // (unwrapped where wrapped); without it their phase is the minimum phase of their levels.
  static std::optional<MeasuredResponse> of(std::vector<ResponsePoint> points, bool phase);
  // The driver's response at a frequency: its gain and phase.
  std::complex<double> at(double hz) const { return curve_.at(hz); }
  bool covers(double hz) const { return curve_.covers(hz); }
  double lowHz() const { return points_.front().hz; }
  double highHz() const { return points_.back().hz; }
  // The points with the phase taken or worked out, and whether it was worked out.
  const std::vector<ResponsePoint>& points() const { return points_; }
  bool minimumPhase() const { return minimumPhase_; }
  // Its average level in dB between two frequencies, evenly over the logarithm of the
  // frequency, within the file's range; nothing where the two leave none of it.
  std::optional<double> averageDb(double lowHz, double highHz) const;
  bool operator==(const MeasuredResponse&) const = default;

 private:
  MeasuredResponse(std::vector<ResponsePoint> points, MeasuredImpedance curve, bool minimumPhase)
      : points_(std::move(points)), curve_(std::move(curve)), minimumPhase_(minimumPhase) {}
  std::vector<ResponsePoint> points_;
  MeasuredImpedance curve_;  // the same points as gains, which interpolating takes
  bool minimumPhase_;
};

// The minimum phase, in degrees, of a response given as levels in dB at rising frequencies: the
// Hilbert transform of its log magnitude, in Bode's form over the logarithm of the frequency (a
// convolution, by FFT). Beyond the given frequencies the level goes on at the slope of the
// end's outermost octave (of all of it, where it spans less), held within kExtensionSlopeDb.
inline constexpr double kExtensionSlopeDb = 36;  // dB an octave, either way
std::vector<double> minimumPhaseDegrees(std::span<const double> hz, std::span<const double> db);

// Sound travels a millimetre in this many seconds (343 m/s).
inline constexpr double kSecondsPerMillimetre = 1.0 / 343000.0;

}  // namespace kalvena
