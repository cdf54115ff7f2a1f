#include "third_order.h"

namespace kalvena {

Checked thirdOrderLowPassC(double fc, double r) {
  return 1.0 / (Checked(fc) * 4.71 * r) * 1000000.0;
}
Checked thirdOrderLowPassL1(double fc, double r) {
  return (Checked(r) * 1.5) / (Checked(fc) * 6.28) * 1000.0;
}
Checked thirdOrderLowPassL2(double fc, double r) {
  return (Checked(r) * 0.5) / (Checked(fc) * 6.28) * 1000.0;
}
Checked thirdOrderHighPassC1(double fc, double r) {
  return 1.0 / (Checked(fc) * 9.42 * r) * 1000000.0;
}
Checked thirdOrderHighPassC2(double fc, double r) {
  return 1.0 / (Checked(fc) * 3.14 * r) * 1000000.0;
}
Checked thirdOrderHighPassL(double fc, double r) {
  return (Checked(r) * 0.75) / (Checked(fc) * 6.28) * 1000.0;
}

namespace {
using E = ThirdOrderElement;
using S = Section;
using U = Unit;
using V = const InputValues&;
constexpr auto kSeries = LadderElement::Place::Series;
constexpr auto kShunt = LadderElement::Place::Shunt;
constexpr Rung<E> kLow[] = {{E::LowL1, kSeries}, {E::LowC, kShunt}, {E::LowL2, kSeries}};
constexpr Rung<E> kMiddle[] = {{E::MidC1, kSeries}, {E::MidL1, kSeries}, {E::MidL3, kShunt},
                               {E::MidC3, kShunt},  {E::MidC2, kSeries}, {E::MidL2, kSeries}};
constexpr Rung<E> kHigh[] = {{E::HighC1, kSeries}, {E::HighL, kShunt}, {E::HighC2, kSeries}};
}  // namespace

// The middle band-pass is a high-pass at the first frequency (C1, C2, L3) followed by a
// low-pass at the second (C3, L1, L2).
const std::array<Formula<ThirdOrderElement>, 12> kThirdOrderFormulas{{
    {E::LowC, S::Low, U::Microfarad, [](V v) { return thirdOrderLowPassC(v.LowFc, v.LowR); }},
    {E::LowL1, S::Low, U::Millihenry, [](V v) { return thirdOrderLowPassL1(v.LowFc, v.LowR); }},
    {E::LowL2, S::Low, U::Millihenry, [](V v) { return thirdOrderLowPassL2(v.LowFc, v.LowR); }},
    {E::MidC1, S::Middle, U::Microfarad,
     [](V v) { return thirdOrderHighPassC1(v.MidFc1, v.MidR); }},
    {E::MidC2, S::Middle, U::Microfarad,
     [](V v) { return thirdOrderHighPassC2(v.MidFc1, v.MidR); }},
    {E::MidC3, S::Middle, U::Microfarad, [](V v) { return thirdOrderLowPassC(v.MidFc2, v.MidR); }},
    {E::MidL1, S::Middle, U::Millihenry, [](V v) { return thirdOrderLowPassL1(v.MidFc2, v.MidR); }},
    {E::MidL2, S::Middle, U::Millihenry, [](V v) { return thirdOrderLowPassL2(v.MidFc2, v.MidR); }},
    {E::MidL3, S::Middle, U::Millihenry, [](V v) { return thirdOrderHighPassL(v.MidFc1, v.MidR); }},
    {E::HighC1, S::High, U::Microfarad,
     [](V v) { return thirdOrderHighPassC1(v.HighFc, v.HighR); }},
    {E::HighC2, S::High, U::Microfarad,
     [](V v) { return thirdOrderHighPassC2(v.HighFc, v.HighR); }},
    {E::HighL, S::High, U::Millihenry, [](V v) { return thirdOrderHighPassL(v.HighFc, v.HighR); }},
}};

const std::array<Network<ThirdOrderElement>, 3> kThirdOrderNetworks{
    {{S::Low, kLow}, {S::Middle, kMiddle}, {S::High, kHigh}}};

}  // namespace kalvena
