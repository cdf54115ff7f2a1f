#include "check_number.h"

#include <algorithm>
#include <charconv>
#include <system_error>

namespace kalvena {

bool CheckNumber(std::string_view text) {
  return !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<double> digitsToDouble(std::string_view digits) {
  if (digits.empty() || CheckNumber(digits)) return std::nullopt;
  double value = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value,
                                         std::chars_format::fixed);
  if (ec != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return value;
}

std::optional<double> inputFieldValue(std::string_view text) {
  if (text.empty()) return 0.0;
  return digitsToDouble(text);
}

}  // namespace kalvena
