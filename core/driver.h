#pragma once

// What a band drives: a loudspeaker driver's impedance (a resistor of its nominal value, the
// Thiele–Small model of its data sheet, or a measured curve), the networks a builder puts
// across it to flatten that impedance (a Zobel for the coil's rise, a notch for the resonance)
// and the L-pad in front of it that brings its level down.

#include <complex>
#include <optional>
#include <variant>
#include <vector>

namespace kalvena {

using Impedance = std::complex<double>;  // ohms

// A driver as its data sheet gives it: the coil's resistance Re (ohms) and inductance Le
// (henries), the resonance fs (hertz) and its mechanical and electrical Q.
struct ThieleSmall {
  double re = 0, le = 0, fs = 0, qms = 0, qes = 0;
  bool operator==(const ThieleSmall&) const = default;
};
// Re + jwLe + the motional impedance, a parallel Res, Lces, Cmes: Res = Re Qms / Qes,
// Lces = Re / (2 pi fs Qes), Cmes = Qes / (2 pi fs Re).
Impedance thieleSmallImpedance(const ThieleSmall& driver, double hz);

// A measured impedance, a point a frequency.
struct ImpedancePoint {
  double hz;
  double ohms;
  double degrees;
  bool operator==(const ImpedancePoint&) const = default;
};
// A measured curve: points at rising frequencies, at least two, each magnitude positive, the
// phase unwrapped (no step between neighbours over 180 degrees). Between points the magnitude
// and the phase are interpolated linearly in the logarithm of the frequency; outside them the
// nearest end's value stands, and `covers` says the frequency is outside the measurement.
class MeasuredImpedance {
 public:
  // Nothing where the points are not such a curve. A wrapped phase is unwrapped.
  static std::optional<MeasuredImpedance> of(std::vector<ImpedancePoint> points);
  Impedance at(double hz) const;
  bool covers(double hz) const { return hz >= points_.front().hz && hz <= points_.back().hz; }
  const std::vector<ImpedancePoint>& points() const { return points_; }
  bool operator==(const MeasuredImpedance&) const = default;

 private:
  explicit MeasuredImpedance(std::vector<ImpedancePoint> points);
  std::vector<ImpedancePoint> points_;
  std::vector<double> logHz_;  // each point's frequency's logarithm, which interpolating takes
};

// A driver: a resistor of its nominal impedance (ohms), its Thiele–Small model, or a measured
// curve.
using Driver = std::variant<double, ThieleSmall, MeasuredImpedance>;
Impedance driverImpedance(const Driver& driver, double hz);

// A Zobel across the driver, a resistor in series with a capacitor (ohms, farads): Rz = Re,
// Cz = Le / Re^2, which makes Re + jwLe with it a resistance Re at every frequency.
struct Zobel {
  double r = 0, c = 0;
};
Zobel zobelFor(double re, double le);

// A notch across the driver, a resistor, an inductor and a capacitor in series (ohms, henries,
// farads): Rc = Re (1 + Qes / Qms), Lc = Re Qes / (2 pi fs), Cc = 1 / (2 pi fs Re Qes), which
// cancels the resonance of the motional impedance.
struct Notch {
  double r = 0, l = 0, c = 0;
};
Notch notchFor(const ThieleSmall& driver);

// An L-pad for an attenuation in dB into a resistance z: the series resistor z (1 - k) and the
// one across the driver z k / (1 - k), k = 10^(-dB/20). Nothing for an attenuation that is not
// a positive finite number.
struct LPad {
  double series = 0, shunt = 0;  // ohms
};
std::optional<LPad> lPadFor(double z, double db);
// What a pad's resistors take off a resistance z, in dB (positive).
double lPadAttenuationDb(const LPad& pad, double z);

// Everything from the end of a band's ladder to its driver: the pad's series resistor, then
// across the driver's terminals the pad's shunt resistor, the Zobel, the notch and the driver.
struct BandLoad {
  Driver driver = 8.0;
  std::optional<Zobel> zobel = std::nullopt;
  std::optional<Notch> notch = std::nullopt;
  std::optional<LPad> pad = std::nullopt;

  // The impedance the ladder drives, and the voltage at the driver's terminals over the voltage
  // the ladder gives them, worked out together.
  struct Terminals {
    Impedance impedance;
    std::complex<double> padTransfer;
  };
  Terminals terminals(double hz) const { return terminals(hz, driverImpedance(driver, hz)); }
  Impedance impedance(double hz) const { return terminals(hz).impedance; }
  std::complex<double> padTransfer(double hz) const { return terminals(hz).padTransfer; }
  // What lies across the driver's terminals, the driver with it.
  Impedance across(double hz) const { return across(hz, driverImpedance(driver, hz)); }
  // The same with the driver's impedance at hz given (worked out once for many loads).
  Terminals terminals(double hz, Impedance driverZ) const;
  Impedance across(double hz, Impedance driverZ) const;
};

}  // namespace kalvena
