#include "preferred_values.h"

#include <gtest/gtest.h>

#include "result_text.h"

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

TEST(ResultDescription, GivesTheWholeTextAndThePartsToBuy) {
  EXPECT_EQ(resultDescription(14.0745, Unit::Microfarad, ","),
            "14,07 µF\nE12: 15 µF (+6,6 %)\nE24: 15 µF (+6,6 %)");
  EXPECT_EQ(resultDescription(1.8008, Unit::Millihenry, "."),
            "1.8 mH\nE12: 1.8 mH (0 %)\nE24: 1.8 mH (0 %)");
  EXPECT_EQ(resultDescription(112596.6219, Unit::Microfarad, "."),
            "112596.62 µF\nE12: 120000 µF (+6.6 %)\nE24: 110000 µF (-2.3 %)");
  EXPECT_EQ(resultDescription(0.004, Unit::Microfarad, "."), "0 µF") << "nothing to buy for 0";
  EXPECT_EQ(resultDescription(Checked(1e308) * 10.0, Unit::Millihenry, "."), std::nullopt);
}

}  // namespace
}  // namespace kalvena
