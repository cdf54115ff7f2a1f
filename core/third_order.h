#pragma once

#include <array>

#include "calculation.h"
#include "response.h"

namespace kalvena {

// The element values of the 18 dB/oct window, in the order they are written.
enum class ThirdOrderElement {
  LowC,
  LowL1,
  LowL2,
  MidC1,
  MidC2,
  MidC3,
  MidL1,
  MidL2,
  MidL3,
  HighC1,
  HighC2,
  HighL
};

// Third-order Butterworth T-sections into a resistive load, pi taken as 3.14. Capacitances
// in µF, inductances in mH. The operand order differs from the second-order formulas
// (frequency before the constant in a capacitance, impedance before the constant in an
// inductance) and is kept exactly, so the results agree to the last digit.
// Low-pass: series L1 at the input, shunt C, series L2 at the driver.
Checked thirdOrderLowPassC(double fc, double r);
Checked thirdOrderLowPassL1(double fc, double r);
Checked thirdOrderLowPassL2(double fc, double r);
// High-pass: series C1 at the input, shunt L, series C2 at the driver.
Checked thirdOrderHighPassC1(double fc, double r);
Checked thirdOrderHighPassC2(double fc, double r);
Checked thirdOrderHighPassL(double fc, double r);

extern const std::array<Formula<ThirdOrderElement>, 12> kThirdOrderFormulas;

// The sections as the schematics draw them: the low-pass series L1, shunt C, series L2; the
// band-pass series C1 and L1, then L3 and C3 across the wires, then series C2 and L2; the
// high-pass series C1, shunt L, series C2.
extern const std::array<Network<ThirdOrderElement>, 3> kThirdOrderNetworks;

template <class Write>
void calculateThirdOrder(const InputValues& values, Write&& write) {
  calculate(kThirdOrderFormulas, values, write);
}

}  // namespace kalvena
