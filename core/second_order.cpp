#include "second_order.h"

#include <cmath>

namespace kalvena {

Checked secondOrderCapacitance(double fc, double r) {
  const Checked k = std::sqrt(2.0);
  return 1.0 / (k * 2.0 * 3.14 * fc * r) * 1000000.0;
}

Checked secondOrderInductance(double fc, double r) {
  const Checked k = std::sqrt(2.0);
  return (k * r) / (Checked(fc) * 6.28) * 1000.0;
}

namespace {
using E = SecondOrderElement;
using S = Section;
using U = Unit;
using V = const InputValues&;
}  // namespace

// In the middle section C1 and L2 belong to the first frequency, C2 and L1 to the second.
const std::array<Formula<SecondOrderElement>, 8> kSecondOrderFormulas{{
    {E::LowC, S::Low, U::Microfarad, [](V v) { return secondOrderCapacitance(v.LowFc, v.LowR); }},
    {E::LowL, S::Low, U::Millihenry, [](V v) { return secondOrderInductance(v.LowFc, v.LowR); }},
    {E::MidC1, S::Middle, U::Microfarad,
     [](V v) { return secondOrderCapacitance(v.MidFc1, v.MidR); }},
    {E::MidC2, S::Middle, U::Microfarad,
     [](V v) { return secondOrderCapacitance(v.MidFc2, v.MidR); }},
    {E::MidL1, S::Middle, U::Millihenry,
     [](V v) { return secondOrderInductance(v.MidFc2, v.MidR); }},
    {E::MidL2, S::Middle, U::Millihenry,
     [](V v) { return secondOrderInductance(v.MidFc1, v.MidR); }},
    {E::HighC, S::High, U::Microfarad,
     [](V v) { return secondOrderCapacitance(v.HighFc, v.HighR); }},
    {E::HighL, S::High, U::Millihenry,
     [](V v) { return secondOrderInductance(v.HighFc, v.HighR); }},
}};

}  // namespace kalvena
