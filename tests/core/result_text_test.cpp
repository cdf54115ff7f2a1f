#include "result_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <limits>

namespace kalvena {
namespace {

struct TextCase {
  double value;
  const char* pointText;  // with a point as separator
  const char* commaText;  // as in bg_BG
};

class ResultTextTest : public testing::TestWithParam<TextCase> {};

TEST_P(ResultTextTest, RoundsToTwoDecimalsInTheLocalesSeparator) {
  const TextCase& c = GetParam();
  EXPECT_EQ(resultText(c.value, "."), c.pointText) << c.value;
  EXPECT_EQ(resultText(c.value, ","), c.commaText) << c.value;
}

INSTANTIATE_TEST_SUITE_P(
    Values, ResultTextTest,
    testing::Values(TextCase{14.0745, "14.07", "14,07"}, TextCase{1.8008, "1.8", "1,8"},
                    TextCase{20.001, "20", "20"}, TextCase{0.0, "0", "0"},
                    TextCase{0.004, "0", "0"}, TextCase{0.006, "0.01", "0,01"},
                    TextCase{1e-300, "0", "0"}, TextCase{-0.001, "0", "0"},
                    TextCase{112596.6219, "112596.62", "112596,62"},
                    // No group separators, and never more than 15 significant digits.
                    TextCase{1234567890123.25, "1234567890123.25", "1234567890123,25"},
                    TextCase{12345678901234.375, "12345678901234.4", "12345678901234,4"},
                    TextCase{123456789012345.6, "123456789012346", "123456789012346"},
                    // From 10^15 up: exponent form, rounding to two decimals cannot overflow.
                    TextCase{999999999999999.9, "1E+15", "1E+15"}, TextCase{1e15, "1E+15", "1E+15"},
                    TextCase{1.5e20, "1.5E+20", "1,5E+20"},
                    TextCase{123456789012345678.0, "1.23456789012346E+17", "1,23456789012346E+17"},
                    TextCase{DBL_MAX, "1.79769313486232E+308", "1,79769313486232E+308"}));

TEST(ResultTextNotFinite, HasNoText) {
  EXPECT_EQ(resultText(std::numeric_limits<double>::infinity(), "."), std::nullopt);
  EXPECT_EQ(resultText(-std::numeric_limits<double>::infinity(), "."), std::nullopt);
  EXPECT_EQ(resultText(std::numeric_limits<double>::quiet_NaN(), ","), std::nullopt);
}

TEST(ResultTextNotFinite, AnOverflowOnTheWayIsNotHiddenByAFiniteEnd) {
  // 1 / inf is 0, and inf / inf is NaN: neither is the true value, so neither is shown.
  const Checked huge = Checked(1e308) * 10.0;
  EXPECT_EQ(resultText(1.0 / huge, "."), std::nullopt);
  EXPECT_EQ(resultText(huge / huge, "."), std::nullopt);
  EXPECT_EQ(resultText(Checked(1.0) / 0.0, "."), std::nullopt);
  EXPECT_EQ(resultText(Checked(1e308) * 1.5 / 2.0, "."), "7.5E+307") << "no overflow";
}

// Every character one unit wide, the ellipsis too.
double characters(std::string_view s) {
  return static_cast<double>(std::count_if(
      s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

TEST(FitResultText, ShowsTheBeginningAndTheEndOfWhatDoesNotFit) {
  const struct {
    const char* text;
    double available;
    const char* shown;
  } cases[] = {
      {"112596.62", 9, "112596.62"},                // fits: whole
      {"2.25193242416098E+22", 11, "2.2519…E+22"},  // the exponent always in view
      {"2,25193242416098E+22", 6, "2…E+22"},        // at the least one digit before it
      {"2.25193242416098E+22", 3, "2…E+22"},        // even where that does not fit
      {"1234567890123.25", 9, "1234…3.25"},         // as much of the end as of the start
      {"1234567890123٫25", 9, "1234…3٫25"},         // a separator of two bytes stays whole
      {"12", 1, "12"},                              // nothing to leave out
  };
  for (const auto& c : cases) {
    EXPECT_EQ(fitResultText(c.text, c.available, characters), c.shown) << c.text;
  }
}

}  // namespace
}  // namespace kalvena
