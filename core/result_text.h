#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "checked.h"
#include "unit.h"

namespace kalvena {

// The text a result box shows for a value: rounded to two decimals, at most 15 significant
// digits, no trailing zeros (1.8, 20), no group separators, and decimalPoint between the
// whole and the fractional part. From 10^15 up the value is written in exponent form with
// up to 15 significant digits, "1.5E+20". Nothing when the value is not a finite number, or
// when some step of the arithmetic that made it overflowed: such a number would not be true.
std::optional<std::string> resultText(Checked value, std::string_view decimalPoint);

// What a result box says on hover: its whole text with the unit, then the nearest E12 and E24
// values and how far each lies from the value shown, in per cent to one decimal:
//   14.07 µF
//   E12: 15 µF (+6.6 %)
//   E24: 15 µF (+6.6 %)
// A value shown as 0 has no preferred value. Nothing when resultText has no text.
std::optional<std::string> resultDescription(Checked value, Unit unit,
                                             std::string_view decimalPoint);

}  // namespace kalvena
