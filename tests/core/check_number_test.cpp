#include "check_number.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <string>

namespace kalvena {
namespace {

// a followed by b. (Spelled out: GCC 12 at -O3 warns falsely on "x" + std::string.)
std::string join(std::string a, std::string_view b) {
  a.append(b);
  return a;
}

struct CheckCase {
  const char* what;
  std::string text;  // UTF-8, as the window hands it over
  bool rejected;
};

class CheckNumberTest : public testing::TestWithParam<CheckCase> {};

TEST_P(CheckNumberTest, TellsDigitsFromEverythingElse) {
  EXPECT_EQ(CheckNumber(GetParam().text), GetParam().rejected) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Classes, CheckNumberTest,
    testing::Values(
        CheckCase{"empty", "", false}, CheckCase{"zero", "0", false},
        CheckCase{"every digit", "0123456789", false}, CheckCase{"leading zeros", "007", false},
        CheckCase{"letter after digits", "12a", true}, CheckCase{"minus sign", "-5", true},
        CheckCase{"decimal point", "2.5", true}, CheckCase{"decimal comma", "2,5", true},
        CheckCase{"space", "1 2", true}, CheckCase{"plus sign", "+1", true},
        CheckCase{"exponent", "1e5", true}, CheckCase{"just below the digits", "/", true},
        CheckCase{"just above the digits", ":", true}, CheckCase{"Cyrillic letter", "12а", true},
        CheckCase{"fullwidth digits", "１２", true}, CheckCase{"Arabic-Indic digits", "١٢", true},
        CheckCase{"superscript two", "²", true}, CheckCase{"no-break space", "1\u00A02", true},
        CheckCase{"outside the Basic Multilingual Plane", "1\U0001F600", true},
        CheckCase{"NUL inside",
                  std::string("1\0"
                              "2",
                              3),
                  true},
        CheckCase{"non-digit at the very end", "123456789x", true}));

TEST(CheckNumberLong, PastedMaximumLengthText) {
  const std::string digits(32767, '7');
  EXPECT_FALSE(CheckNumber(digits));
  EXPECT_TRUE(CheckNumber(join(digits, "x")));
  EXPECT_TRUE(CheckNumber(join("x", digits)));
}

struct ValueCase {
  const char* what;
  std::string text;
  std::optional<double> stored;
};

class InputFieldValueTest : public testing::TestWithParam<ValueCase> {};

TEST_P(InputFieldValueTest, StoresWhatTheBoxShows) {
  EXPECT_EQ(inputFieldValue(GetParam().text), GetParam().stored) << GetParam().what;
}

const std::string kDblMaxDigits =
    "17976931348623157081452742373170435679807056752584499659891747680315726078002853876058955863"
    "27668781715404589535143824642343213268894641827684675467035375169860499105765512820762454900"
    "90389328944075868508455133942304583236903222948165808559332123348274797826204144723168738177"
    "180919299881250404026184124858368";

INSTANTIATE_TEST_SUITE_P(
    Conversion, InputFieldValueTest,
    testing::Values(
        ValueCase{"an emptied box stores 0", "", 0.0}, ValueCase{"zero", "0", 0.0},
        ValueCase{"leading zeros", "007", 7.0}, ValueCase{"ordinary", "1000", 1000.0},
        ValueCase{"2^53 + 1 rounds to the nearest double", "9007199254740993", 9007199254740992.0},
        ValueCase{"the largest double written out", kDblMaxDigits, DBL_MAX},
        ValueCase{"a 309-digit number beyond the largest double", join("1", std::string(309, '0')),
                  std::nullopt},
        ValueCase{"400 nines", std::string(400, '9'), std::nullopt},
        ValueCase{"maximum length, mostly leading zeros", join(std::string(32766, '0'), "5"), 5.0},
        ValueCase{"maximum length of ones", std::string(32767, '1'), std::nullopt},
        ValueCase{"non-digit", "12a", std::nullopt}, ValueCase{"negative", "-5", std::nullopt}));

}  // namespace
}  // namespace kalvena
