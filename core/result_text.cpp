#include "result_text.h"

#include <charconv>
#include <cmath>

#include "preferred_values.h"

namespace kalvena {
namespace {

constexpr int kSignificantDigits = 15;
constexpr int kDecimals = 2;

std::string toChars(double v, std::chars_format format, int precision) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, v, format, precision);
  return std::string(buffer, result.ptr);
}

// "1.50" -> "1.5", "20.00" -> "20"; a text without a point is left alone.
void dropTrailingZeros(std::string& s) {
  if (s.find('.') == std::string::npos) return;
  while (s.back() == '0') s.pop_back();
  if (s.back() == '.') s.pop_back();
}

int wholeDigits(const std::string& fixed) {
  const std::size_t start = fixed.front() == '-' ? 1 : 0;
  const std::size_t point = fixed.find('.');
  return static_cast<int>((point == std::string::npos ? fixed.size() : point) - start);
}

std::string exponentForm(double v) {
  std::string s = toChars(v, std::chars_format::scientific, kSignificantDigits - 1);
  const std::size_t e = s.find('e');
  std::string text(s, 0, e);
  dropTrailingZeros(text);
  text.push_back('E');
  text.append(s, e + 1);
  return text;
}

std::string plainText(double v) {
  if (std::fabs(v) < 1e15) {
    std::string s = toChars(v, std::chars_format::fixed, kDecimals);
    const int whole = wholeDigits(s);
    if (whole + kDecimals > kSignificantDigits && whole <= kSignificantDigits) {
      s = toChars(v, std::chars_format::fixed, kSignificantDigits - whole);
    }
    // Rounding can carry into a sixteenth whole digit (999999999999999.7 -> 1E+15).
    if (wholeDigits(s) <= kSignificantDigits) {
      dropTrailingZeros(s);
      if (s == "-0") s = "0";
      return s;
    }
  }
  return exponentForm(v);
}

std::string withDecimalPoint(std::string_view plain, std::string_view decimalPoint) {
  std::string text;
  text.reserve(plain.size() + decimalPoint.size());
  for (const char c : plain) {
    if (c == '.') {
      text.append(decimalPoint);
    } else {
      text.push_back(c);
    }
  }
  return text;
}

// A preferred value as short as it can be written: "15", "0.0039", "1.5E+20".
std::string preferredText(double v) {
  if (v >= 1e15) return exponentForm(v);
  char buffer[400];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed);
  return std::string(buffer, result.ptr);
}

// "+6.6", "-2.3"; "0" when the deviation rounds to nothing.
std::string percentText(double percent) {
  std::string s = toChars(percent, std::chars_format::fixed, 1);
  dropTrailingZeros(s);
  if (s == "0" || s == "-0") return "0";
  return percent > 0 ? "+" + s : s;
}

}  // namespace

std::optional<std::string> resultText(Checked value, std::string_view decimalPoint) {
  if (!value.ok()) return std::nullopt;
  return withDecimalPoint(plainText(value.value()), decimalPoint);
}

std::optional<std::string> resultDescription(Checked value, Unit unit,
                                             std::string_view decimalPoint) {
  if (!value.ok()) return std::nullopt;
  const std::string plain = plainText(value.value());
  const std::string_view u = unitText(unit);
  std::string text = withDecimalPoint(plain, decimalPoint);
  text.append(" ").append(u);
  // The deviation is taken from the value as the box shows it, so 1.8 reads as an exact hit.
  double shown = 0;
  std::from_chars(plain.data(), plain.data() + plain.size(), shown);
  if (!(shown > 0)) return text;
  for (const auto& [series, name] :
       {std::pair{PreferredSeries::E12, "E12"}, std::pair{PreferredSeries::E24, "E24"}}) {
    const double preferred = nearestPreferred(shown, series);
    const double percent = (preferred - shown) / shown * 100.0;
    text.append("\n").append(name).append(": ");
    text.append(withDecimalPoint(preferredText(preferred), decimalPoint)).append(" ").append(u);
    text.append(" (").append(withDecimalPoint(percentText(percent), decimalPoint)).append(" %)");
  }
  return text;
}

}  // namespace kalvena
