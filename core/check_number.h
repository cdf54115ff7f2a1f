#pragma once

#include <optional>
#include <string_view>

namespace kalvena {

// True when the text holds any character other than the ASCII digits 0 to 9, that is, when
// it is not a number and must be rejected. The empty text is a number (of no digits).
// Expects UTF-8: every byte of a non-ASCII character lies outside '0'..'9', so no such
// character can pass.
bool CheckNumber(std::string_view text);

// The nearest double to a string of ASCII digits; nothing when the value is beyond the
// largest finite double.
std::optional<double> digitsToDouble(std::string_view digits);

// What an input box's text stores in its field: the value of its digits, 0 for an empty
// box, nothing when the text must be rejected (a non-digit, or a number too large).
std::optional<double> inputFieldValue(std::string_view text);

// What a box that takes a decimal number (a driver's Le, Qes) stores: the value of its digits
// with at most one decimal point, written as `point` (the user's) or as '.', 0 for an empty
// box; nothing for any other text. "0,42" and ".5" are numbers; "1,2,3", "−1" and "1e3" are not.
std::optional<double> decimalFieldValue(std::string_view text, std::string_view point);

}  // namespace kalvena
