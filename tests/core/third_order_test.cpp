#include "third_order.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "check_number.h"
#include "result_text.h"

namespace kalvena {
namespace {

using E = ThirdOrderElement;
using Written = std::vector<std::pair<E, std::string>>;

Written run(const InputValues& v) {
  Written out;
  calculateThirdOrder(v, [&](E e, Unit, Checked x) {
    out.emplace_back(e, resultText(x, ".").value_or("(no text)"));
  });
  return out;
}

struct Case {
  const char* what;
  InputValues in;
  Written expected;
};

class ThirdOrderTest : public testing::TestWithParam<Case> {};

TEST_P(ThirdOrderTest, WritesCompleteSectionsInOrder) {
  EXPECT_EQ(run(GetParam().in), GetParam().expected) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    EdgeValues, ThirdOrderTest,
    testing::Values(Case{"low 1000 Hz 8 ohm",
                         {.LowFc = 1000, .LowR = 8},
                         {{E::LowC, "26.54"}, {E::LowL1, "1.91"}, {E::LowL2, "0.64"}}},
                    Case{"low 1 Hz 1 ohm",
                         {.LowFc = 1, .LowR = 1},
                         {{E::LowC, "212314.23"}, {E::LowL1, "238.85"}, {E::LowL2, "79.62"}}},
                    Case{"middle 400/4000 Hz 8 ohm",
                         {.MidFc1 = 400, .MidFc2 = 4000, .MidR = 8},
                         {{E::MidC1, "33.17"},
                          {E::MidC2, "99.52"},
                          {E::MidC3, "6.63"},
                          {E::MidL1, "0.48"},
                          {E::MidL2, "0.16"},
                          {E::MidL3, "2.39"}}},
                    Case{"high 4000 Hz 8 ohm",
                         {.HighFc = 4000, .HighR = 8},
                         {{E::HighC1, "3.32"}, {E::HighC2, "9.95"}, {E::HighL, "0.24"}}},
                    Case{"all zero writes nothing", {}, {}},
                    Case{"a zero field skips only its section",
                         {.LowFc = 1000, .LowR = 0, .HighFc = 4000, .HighR = 8},
                         {{E::HighC1, "3.32"}, {E::HighC2, "9.95"}, {E::HighL, "0.24"}}}));

// The low section is the middle section's low-pass, and the high section its high-pass, so
// equal inputs give equal texts, whatever digits the user types.
TEST(ThirdOrderSymmetry, SectionsAgreeWithTheMiddleBand) {
  std::mt19937_64 rng(20261207);
  std::uniform_int_distribution<int> length(1, 9);
  std::uniform_int_distribution<int> digit(0, 9);
  auto randomDigits = [&] {
    std::string s(static_cast<std::size_t>(length(rng)), '0');
    for (char& c : s) c = static_cast<char>('0' + digit(rng));
    if (s.find_first_not_of('0') == std::string::npos) s.back() = '1';
    return *inputFieldValue(s);
  };
  for (int i = 0; i < 3000; ++i) {
    const double fcA = randomDigits(), fcB = randomDigits(), r = randomDigits();
    std::map<E, std::optional<std::string>> text;
    calculateThirdOrder(InputValues{.LowFc = fcB,
                                    .LowR = r,
                                    .MidFc1 = fcA,
                                    .MidFc2 = fcB,
                                    .MidR = r,
                                    .HighFc = fcA,
                                    .HighR = r},
                        [&](E e, Unit, Checked x) { text[e] = resultText(x, "."); });
    ASSERT_EQ(text.size(), 12u);
    EXPECT_EQ(text[E::LowC], text[E::MidC3]) << fcB << " " << r;
    EXPECT_EQ(text[E::LowL1], text[E::MidL1]) << fcB << " " << r;
    EXPECT_EQ(text[E::LowL2], text[E::MidL2]) << fcB << " " << r;
    EXPECT_EQ(text[E::HighC1], text[E::MidC1]) << fcA << " " << r;
    EXPECT_EQ(text[E::HighC2], text[E::MidC2]) << fcA << " " << r;
    EXPECT_EQ(text[E::HighL], text[E::MidL3]) << fcA << " " << r;
  }
}

TEST(ThirdOrderOverflow, HugeImpedanceIsFlagged) {
  EXPECT_FALSE(thirdOrderLowPassL1(1, 7.6e305).ok());
  EXPECT_TRUE(thirdOrderLowPassL1(1, 1e300).ok());
}

}  // namespace
}  // namespace kalvena
