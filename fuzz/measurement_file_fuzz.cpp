// Any bytes as a .zma file: either a curve the program can use everywhere (points at rising
// frequencies, positive finite magnitudes, a finite impedance at every frequency) or a refusal
// that says why and where, never both, never neither, and nothing crashes or hangs. The same
// bytes as a .frd file: a response with a finite phase at every point (worked out where the
// file has none) and a finite response everywhere, or a refusal.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "measurement_file.h"
#include "require.h"

using kalvena::fuzz::require;

namespace {

void checkFrd(std::string_view text) {
  const kalvena::FrdRead read = kalvena::readFrd(text);
  require(read.response.has_value() != read.refusal.has_value());
  if (read.refusal) return;
  const auto& points = read.response->points();
  require(points.size() >= 2);
  for (const auto& p : points) require(std::isfinite(p.db) && std::isfinite(p.degrees));
  for (const double hz : {points.front().hz / 2, points.front().hz, 1000.0, points.back().hz * 2}) {
    const auto h = read.response->at(hz);
    require(std::isfinite(h.real()) && std::isfinite(h.imag()));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  checkFrd(text);
  const kalvena::ZmaRead read = kalvena::readZma(text);
  require(read.curve.has_value() != read.refusal.has_value());
  if (read.refusal) {
    require(read.refusal->line <= size + 1);
    return 0;
  }
  const auto& points = read.curve->points();
  require(points.size() >= 2);
  for (std::size_t i = 0; i < points.size(); ++i) {
    require(points[i].hz > 0 && std::isfinite(points[i].hz) && points[i].ohms > 0);
    require(i == 0 || points[i].hz > points[i - 1].hz);
    require(i == 0 || std::fabs(points[i].degrees - points[i - 1].degrees) <= 180);
  }
  for (const double hz : {points.front().hz / 2, points.front().hz, 20.0, 1000.0, points.back().hz,
                          points.back().hz * 2}) {
    const auto z = read.curve->at(hz);
    require(std::isfinite(z.real()) && std::isfinite(z.imag()));
  }
  return 0;
}
