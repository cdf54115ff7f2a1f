#include "driver.h"

#include "complex_quotient.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kalvena {
namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

Impedance parallel(Impedance a, Impedance b) { return quotient(a * b, a + b); }

}  // namespace

Impedance thieleSmallImpedance(const ThieleSmall& d, double hz) {
  const double w = kTwoPi * hz;
  const double res = d.re * d.qms / d.qes;
  const double lces = d.re / (kTwoPi * d.fs * d.qes);
  const double cmes = d.qes / (kTwoPi * d.fs * d.re);
  // The motional branch's admittance: 1/Res + 1/(jwLces) + jwCmes.
  const Impedance motional = 1.0 / Impedance(1.0 / res, w * cmes - 1.0 / (w * lces));
  return Impedance(d.re, w * d.le) + motional;
}

std::optional<MeasuredImpedance> MeasuredImpedance::of(std::vector<ImpedancePoint> points) {
  if (points.size() < 2) return std::nullopt;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const ImpedancePoint& p = points[i];
    if (!(p.hz > 0) || !std::isfinite(p.hz) || !(p.ohms > 0) || !std::isfinite(p.ohms) ||
        !std::isfinite(p.degrees) || (i > 0 && !(p.hz > points[i - 1].hz))) {
      return std::nullopt;
    }
  }
  // A wrapped phase jumps by about 360 degrees between neighbours; a step of more than half a
  // turn is taken to be the one within it. A phase unwrapped stays as it is.
  double turns = 0;
  for (std::size_t i = 1; i < points.size(); ++i) {
    const double step = points[i].degrees + turns - points[i - 1].degrees;
    if (std::fabs(step) > 180.0) turns -= 360.0 * std::round(step / 360.0);
    points[i].degrees += turns;
  }
  return MeasuredImpedance(std::move(points));
}

MeasuredImpedance::MeasuredImpedance(std::vector<ImpedancePoint> points)
    : points_(std::move(points)) {
  for (const ImpedancePoint& p : points_) logHz_.push_back(std::log(p.hz));
}

Impedance MeasuredImpedance::at(double hz) const {
  const auto polar = [](double ohms, double degrees) {
    return std::polar(ohms, degrees * std::numbers::pi / 180.0);
  };
  if (!(hz > points_.front().hz)) return polar(points_.front().ohms, points_.front().degrees);
  if (!(hz < points_.back().hz)) return polar(points_.back().ohms, points_.back().degrees);
  const auto above = std::upper_bound(points_.begin(), points_.end(), hz,
                                      [](double f, const ImpedancePoint& p) { return f < p.hz; });
  const std::size_t i = static_cast<std::size_t>(above - points_.begin());
  const ImpedancePoint& a = points_[i - 1];
  const ImpedancePoint& b = points_[i];
  const double t = (std::log(hz) - logHz_[i - 1]) / (logHz_[i] - logHz_[i - 1]);
  return polar(a.ohms + t * (b.ohms - a.ohms), a.degrees + t * (b.degrees - a.degrees));
}

Impedance driverImpedance(const Driver& driver, double hz) {
  if (const auto* r = std::get_if<double>(&driver)) return *r;
  if (const auto* ts = std::get_if<ThieleSmall>(&driver)) return thieleSmallImpedance(*ts, hz);
  return std::get<MeasuredImpedance>(driver).at(hz);
}

Zobel zobelFor(double re, double le) { return {re, le / (re * re)}; }

Notch notchFor(const ThieleSmall& d) {
  return {d.re * (1.0 + d.qes / d.qms), d.re * d.qes / (kTwoPi * d.fs),
          1.0 / (kTwoPi * d.fs * d.re * d.qes)};
}

std::optional<LPad> lPadFor(double z, double db) {
  if (!(db > 0) || !std::isfinite(db) || !(z > 0) || !std::isfinite(z)) return std::nullopt;
  const double k = std::pow(10.0, -db / 20.0);
  return LPad{z * (1.0 - k), z * k / (1.0 - k)};
}

double lPadAttenuationDb(const LPad& pad, double z) {
  const double across = pad.shunt * z / (pad.shunt + z);
  return 20.0 * std::log10((pad.series + across) / across);
}

Impedance BandLoad::across(double hz, Impedance driverZ) const {
  const double w = kTwoPi * hz;
  Impedance z = driverZ;
  if (pad) z = parallel(z, pad->shunt);
  if (zobel) z = parallel(z, Impedance(zobel->r, -1.0 / (w * zobel->c)));
  if (notch) z = parallel(z, Impedance(notch->r, w * notch->l - 1.0 / (w * notch->c)));
  return z;
}

BandLoad::Terminals BandLoad::terminals(double hz, Impedance driverZ) const {
  const Impedance z = across(hz, driverZ);
  if (!pad) return {z, 1.0};
  return {pad->series + z, quotient(z, pad->series + z)};
}

}  // namespace kalvena
