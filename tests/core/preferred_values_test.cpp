#include "preferred_values.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <vector>

#include "result_text.h"
#include "second_order.h"
#include "third_order.h"

namespace kalvena {
namespace {

struct PreferredCase {
  double value;
  double e12;
  double e24;
};

class PreferredValuesTest : public testing::TestWithParam<PreferredCase> {};

TEST_P(PreferredValuesTest, NearestOfEachSeries) {
  const PreferredCase& c = GetParam();
  EXPECT_EQ(nearestPreferred(c.value, PreferredSeries::E12), c.e12) << c.value;
  EXPECT_EQ(nearestPreferred(c.value, PreferredSeries::E24), c.e24) << c.value;
}

INSTANTIATE_TEST_SUITE_P(
    Values, PreferredValuesTest,
    testing::Values(PreferredCase{14.07, 15, 15}, PreferredCase{1.8, 1.8, 1.8},  // exact hit
                    PreferredCase{9.6, 10, 10}, PreferredCase{9.9, 10, 10},      // top of a decade
                    PreferredCase{1.04, 1, 1}, PreferredCase{0.95, 1, 0.91},
                    PreferredCase{0.45, 0.47, 0.47}, PreferredCase{0.0041, 0.0039, 0.0043},
                    PreferredCase{112596.62, 120000, 110000}, PreferredCase{2.35e6, 2.2e6, 2.4e6},
                    PreferredCase{212314.23, 220000, 220000}, PreferredCase{1e-9, 1e-9, 1e-9},
                    // Between 8.2 and 10 the midpoint is 9.1: a tie goes to the lower value.
                    PreferredCase{9.1, 8.2, 9.1}, PreferredCase{9.2, 10, 9.1}));

struct PairCase {
  double value;
  std::optional<PreferredPair> pair;  // larger, smaller, sum
};

class E12PairTest : public testing::TestWithParam<PairCase> {};

TEST_P(E12PairTest, NearestPairWhereNearerThanOnePart) {
  const PairCase& c = GetParam();
  const std::optional<PreferredPair> pair = nearestE12Pair(c.value);
  ASSERT_EQ(pair.has_value(), c.pair.has_value()) << c.value;
  if (!pair) return;
  EXPECT_EQ(pair->larger, c.pair->larger) << c.value;
  EXPECT_EQ(pair->smaller, c.pair->smaller) << c.value;
  EXPECT_EQ(pair->sum, c.pair->sum) << c.value;
}

INSTANTIATE_TEST_SUITE_P(
    Values, E12PairTest,
    testing::Values(PairCase{14.07, PreferredPair{12, 2.2, 14.2}},
                    PairCase{1.8014, std::nullopt},                    // the single 1.8 is nearer
                    PairCase{46.92, std::nullopt},                     // 47, +0.2 %
                    PairCase{0.6004, PreferredPair{0.33, 0.27, 0.6}},  // the sum is 0.6, exactly
                    // 1 + 0.1, 1 + 0.12 and 0.56 + 0.56 lie 0.01 away: the larger smaller part;
                    // so do 100000 + 12000 and 56000 + 56000 from 112596.62.
                    PairCase{1.11, PreferredPair{0.56, 0.56, 1.12}},
                    PairCase{1.0, std::nullopt},  // a part itself
                    PairCase{112596.62, PreferredPair{56000, 56000, 112000}}));

// Every pair of E12 parts from a wide span of decades, against the search: the same distance,
// and among pairs as near, the same smaller part; a pair only where it beats the single part.
TEST(E12Pair, IsTheBestOfEveryPair) {
  std::vector<double> parts;
  for (int decade = -6; decade <= 8; ++decade) {
    for (const double base : {1.0, 1.2, 1.5, 1.8, 2.2, 2.7, 3.3, 3.9, 4.7, 5.6, 6.8, 8.2}) {
      parts.push_back(base * std::pow(10.0, decade));
    }
  }
  for (double value = 1e-3; value < 1e6; value *= 1.0371) {
    const double single = std::fabs(nearestPreferred(value, PreferredSeries::E12) - value);
    double best = INFINITY, bestSmaller = 0;
    for (const double a : parts) {
      for (const double b : parts) {
        if (b > a * (1 + 1e-9) || b * 10 < a * (1 - 1e-9)) continue;
        const double distance = std::fabs(a + b - value);
        if (distance < best - value * 1e-12) {
          best = distance, bestSmaller = b;
        } else if (distance <= best + value * 1e-12 && b > bestSmaller) {
          bestSmaller = b;
        }
      }
    }
    const std::optional<PreferredPair> pair = nearestE12Pair(value);
    ASSERT_EQ(pair.has_value(), best < single - value * 1e-12) << value;
    if (!pair) continue;
    EXPECT_NEAR(std::fabs(pair->sum - value), best, value * 1e-12) << value;
    EXPECT_NEAR(pair->smaller, bestSmaller, bestSmaller * 1e-12) << value;
  }
}

struct DescriptionCase {
  const char* what;
  Checked value;
  Unit unit;
  const char* separator;
  std::string description;
};

class ResultDescriptionTest : public testing::TestWithParam<DescriptionCase> {};

TEST_P(ResultDescriptionTest, GivesTheWholeTextAndThePartsNearestTheValueItself) {
  const DescriptionCase& c = GetParam();
  EXPECT_EQ(resultDescription(c.value, c.unit, c.separator), c.description) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Values, ResultDescriptionTest,
    testing::Values(
        DescriptionCase{"12 dB/oct low C, 1000 Hz, 8 ohm", secondOrderCapacitance(1000, 8),
                        Unit::Microfarad, ",",
                        "14,07 µF\nE12: 15 µF (+6,6 %)\nE24: 15 µF (+6,6 %)\n"
                        "E12 ×2: 12 µF || 2,2 µF (успоредно) = 14,2 µF (+0,9 %)"},
        DescriptionCase{"12 dB/oct low L, 1000 Hz, 8 ohm: 1.8014", secondOrderInductance(1000, 8),
                        Unit::Millihenry, ".",
                        "1.8 mH\nE12: 1.8 mH (-0.1 %)\nE24: 1.8 mH (-0.1 %)"},
        DescriptionCase{"a nine-digit result", 112596.6219, Unit::Microfarad, ".",
                        "112596.62 µF\nE12: 120000 µF (+6.6 %)\nE24: 110000 µF (-2.3 %)\n"
                        "E12 ×2: 56000 µF || 56000 µF (успоредно) = 112000 µF (-0.5 %)"},
        // Shown as 0.21, the value is 0.2123: 0.22 is its nearest E24 value, not 0.2.
        DescriptionCase{"18 dB/oct middle L2, 3000 Hz, 8 ohm", thirdOrderLowPassL2(3000, 8),
                        Unit::Millihenry, ",",
                        "0,21 mH\n≈ 0,212 mH\nE12: 0,22 mH (+3,6 %)\nE24: 0,22 mH (+3,6 %)\n"
                        "E12 ×2: 0,18 mH + 0,033 mH (последователно) = 0,213 mH (+0,3 %)"},
        // Shown as 0.01, the value is 0.01407: its part is 0.015, and 0.01 lies 29 % off.
        DescriptionCase{"12 dB/oct high C, 100000 Hz, 80 ohm", secondOrderCapacitance(100000, 80),
                        Unit::Microfarad, ".",
                        "0.01 µF\n≈ 0.0141 µF\nE12: 0.015 µF (+6.6 %)\nE24: 0.015 µF (+6.6 %)\n"
                        "E12 ×2: 0.012 µF || 0.0022 µF (успоредно) = 0.0142 µF (+0.9 %)"},
        // Shown as 0, it still has a value and a part to buy.
        DescriptionCase{"12 dB/oct high C, 100000 Hz, 277 ohm", secondOrderCapacitance(100000, 277),
                        Unit::Microfarad, ",",
                        "0 µF\n≈ 0,00406 µF\nE12: 0,0039 µF (-4,1 %)\nE24: 0,0039 µF (-4,1 %)\n"
                        "E12 ×2: 0,0033 µF || 0,00082 µF (успоредно) = 0,00412 µF (+1,4 %)"},
        // Three significant digits, the last a zero: not the value shown again.
        DescriptionCase{"0.45 mH", 0.44996, Unit::Millihenry, ".",
                        "0.45 mH\n≈ 0.450 mH\nE12: 0.47 mH (+4.5 %)\nE24: 0.43 mH (-4.4 %)\n"
                        "E12 ×2: 0.27 mH + 0.18 mH (последователно) = 0.45 mH (0 %)"},
        DescriptionCase{"0.09996 rounds up to 0.1", 0.09996, Unit::Millihenry, ".",
                        "0.1 mH\n≈ 0.100 mH\nE12: 0.1 mH (0 %)\nE24: 0.1 mH (0 %)"},
        DescriptionCase{"far below a hundredth", 4.0712e-9, Unit::Millihenry, ".",
                        "0 mH\n≈ 4.07E-09 mH\nE12: 0.0000000039 mH (-4.2 %)\n"
                        "E24: 0.0000000039 mH (-4.2 %)\n"
                        "E12 ×2: 0.0000000033 mH + 0.00000000082 mH (последователно) = "
                        "0.00000000412 mH (+1.2 %)"},
        DescriptionCase{"0.996 shows as 1: three digits kept", 0.996, Unit::Millihenry, ".",
                        "1 mH\nE12: 1 mH (+0.4 %)\nE24: 1 mH (+0.4 %)"},
        DescriptionCase{"nothing to buy for nothing", 0.0, Unit::Microfarad, ".", "0 µF"}));

TEST(ResultDescription, HasNoTextWhereTheResultHasNone) {
  EXPECT_EQ(resultDescription(Checked(1e308) * 10.0, Unit::Millihenry, "."), std::nullopt);
}

}  // namespace
}  // namespace kalvena
