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
constexpr auto kSeries = LadderElement::Place::Series;
constexpr auto kShunt = LadderElement::Place::Shunt;
constexpr Rung<E> kLow[] = {{E::LowL, kSeries}, {E::LowC, kShunt}};
constexpr Rung<E> kMiddle[] = {
    {E::MidC1, kSeries}, {E::MidL1, kSeries}, {E::MidL2, kShunt}, {E::MidC2, kShunt}};
constexpr Rung<E> kHigh[] = {{E::HighC, kSeries}, {E::HighL, kShunt}};
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

const std::array<Network<SecondOrderElement>, 3> kSecondOrderNetworks{
    {{S::Low, kLow}, {S::Middle, kMiddle}, {S::High, kHigh}}};

}  // namespace kalvena
