#include "second_order.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "result_text.h"

namespace kalvena {
namespace {

using E = SecondOrderElement;
using Written = std::vector<std::pair<E, std::string>>;

Written run(const InputValues& v) {
  Written out;
  calculateSecondOrder(v, [&](E e, Unit, Checked x) {
    out.emplace_back(e, resultText(x, ".").value_or("(no text)"));
  });
  return out;
}

struct Case {
  const char* what;
  InputValues in;
  Written expected;
};

class SecondOrderTest : public testing::TestWithParam<Case> {};

TEST_P(SecondOrderTest, WritesCompleteSectionsInOrder) {
  EXPECT_EQ(run(GetParam().in), GetParam().expected) << GetParam().what;
}

InputValues low(double fc, double r) { return {.LowFc = fc, .LowR = r}; }

INSTANTIATE_TEST_SUITE_P(
    EdgeValues, SecondOrderTest,
    testing::Values(
        Case{"low 1000 Hz 8 ohm", low(1000, 8), {{E::LowC, "14.07"}, {E::LowL, "1.8"}}},
        Case{"low 1 Hz 1 ohm", low(1, 1), {{E::LowC, "112596.62"}, {E::LowL, "225.19"}}},
        Case{"middle 400/4000 Hz 8 ohm",
             {.MidFc1 = 400, .MidFc2 = 4000, .MidR = 8},
             {{E::MidC1, "35.19"}, {E::MidC2, "3.52"}, {E::MidL1, "0.45"}, {E::MidL2, "4.5"}}},
        Case{"high 4000 Hz 8 ohm",
             {.HighFc = 4000, .HighR = 8},
             {{E::HighC, "3.52"}, {E::HighL, "0.45"}}},
        Case{"first frequency above the second is accepted",
             {.MidFc1 = 4000, .MidFc2 = 400, .MidR = 8},
             {{E::MidC1, "3.52"}, {E::MidC2, "35.19"}, {E::MidL1, "4.5"}, {E::MidL2, "0.45"}}},
        Case{"all three, low to high",
             {.LowFc = 1000,
              .LowR = 8,
              .MidFc1 = 400,
              .MidFc2 = 4000,
              .MidR = 8,
              .HighFc = 4000,
              .HighR = 8},
             {{E::LowC, "14.07"},
              {E::LowL, "1.8"},
              {E::MidC1, "35.19"},
              {E::MidC2, "3.52"},
              {E::MidL1, "0.45"},
              {E::MidL2, "4.5"},
              {E::HighC, "3.52"},
              {E::HighL, "0.45"}}},
        Case{"all zero writes nothing", {}, {}},
        Case{"a zero impedance skips only its section",
             {.LowFc = 1000, .LowR = 8, .HighFc = 4000, .HighR = 0},
             {{E::LowC, "14.07"}, {E::LowL, "1.8"}}},
        Case{"middle needs all three fields", {.MidFc1 = 400, .MidFc2 = 0, .MidR = 8}, {}}));

TEST(SecondOrderOverflow, HugeImpedanceIsFlaggedNotShownWrong) {
  // Impedance beyond about 8e305: k * R * 1000 overflows.
  EXPECT_FALSE(secondOrderInductance(1, 1e306).ok());
  // k * R overflows on the way although R / fc is modest: the plain result would be 0.
  EXPECT_FALSE(secondOrderInductance(1e308, 1.7e308).ok());
  // The capacitance underflows towards 0, which is right to two decimals.
  const Checked c = secondOrderCapacitance(1e200, 1e200);
  EXPECT_FALSE(c.ok()) << "the denominator overflowed";
  EXPECT_EQ(resultText(secondOrderCapacitance(1e150, 1e150), "."), "0");
}

}  // namespace
}  // namespace kalvena
