#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "checked.h"

namespace kalvena {

// The text a result box shows for a value: rounded to two decimals, at most 15 significant
// digits, no trailing zeros (1.8, 20), no group separators, and decimalPoint between the
// whole and the fractional part. From 10^15 up the value is written in exponent form with
// up to 15 significant digits, "1.5E+20". Nothing when the value is not a finite number, or
// when some step of the arithmetic that made it overflowed: such a number would not be true.
std::optional<std::string> resultText(Checked value, std::string_view decimalPoint);

}  // namespace kalvena
