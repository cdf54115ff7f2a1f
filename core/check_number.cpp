#include "check_number.h"

#include <algorithm>
#include <charconv>
#include <string>
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

std::optional<double> decimalFieldValue(std::string_view text, std::string_view point) {
  if (text.empty()) return 0.0;
  std::string plain;  // the digits with '.' for the point, as from_chars reads them
  bool pointSeen = false;
  for (std::size_t i = 0; i < text.size();) {
    const bool isPoint = !point.empty() && text.substr(i).starts_with(point);
    if (isPoint || text[i] == '.') {
      if (pointSeen) return std::nullopt;
      pointSeen = true;
      plain += '.';
      i += isPoint ? point.size() : 1;
    } else if (text[i] >= '0' && text[i] <= '9') {
      plain += text[i++];
    } else {
      return std::nullopt;
    }
  }
  if (plain == ".") return std::nullopt;
  double value = 0;
  const auto [end, ec] =
      std::from_chars(plain.data(), plain.data() + plain.size(), value, std::chars_format::fixed);
  if (ec != std::errc() || end != plain.data() + plain.size()) return std::nullopt;
  return value;
}

}  // namespace kalvena
