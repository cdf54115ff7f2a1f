#pragma once

#include <array>

#include "calculation.h"
#include "response.h"

namespace kalvena {

// The element values of the 12 dB/oct window, in the order they are written.
enum class SecondOrderElement { LowC, LowL, MidC1, MidC2, MidL1, MidL2, HighC, HighL };

// Second-order Butterworth into a resistive load, pi taken as 3.14. Capacitance in µF,
// inductance in mH. Each is evaluated left to right exactly as written, so that the
// results agree to the last digit with the figures the program has always shown.
Checked secondOrderCapacitance(double fc, double r);
Checked secondOrderInductance(double fc, double r);

extern const std::array<Formula<SecondOrderElement>, 8> kSecondOrderFormulas;

// The sections as the schematics draw them: the low-pass series L, shunt C; the band-pass series
// C1 and L1, then L2 and C2 across the wires; the high-pass series C, shunt L.
extern const std::array<Network<SecondOrderElement>, 3> kSecondOrderNetworks;

template <class Write>
void calculateSecondOrder(const InputValues& values, Write&& write) {
  calculate(kSecondOrderFormulas, values, write);
}

}  // namespace kalvena
