#include "result_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

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

// "1.5E+20": the given number of significant digits at most, trailing zeros dropped.
std::string exponentForm(double v, int significantDigits = kSignificantDigits) {
  std::string s = toChars(v, std::chars_format::scientific, significantDigits - 1);
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

// A value to three significant digits, trailing zeros dropped: "0.212", "0.00407"; below
// 0.0001 in exponent form, "4.07E-05".
std::string threeSignificant(double v) {
  if (v >= 1e-4) {
    // Its trailing zeros are digits too ("0.450"); a value that rounds up to the next power of
    // ten (0.09996 to 0.1000) takes a decimal fewer.
    const int magnitude = static_cast<int>(std::floor(std::log10(v)));
    int decimals = std::max(2 - magnitude, 0);
    std::string s = toChars(v, std::chars_format::fixed, decimals);
    double rounded = 0;
    std::from_chars(s.data(), s.data() + s.size(), rounded);
    if (decimals > 0 && rounded >= std::pow(10.0, magnitude + 1)) {
      s = toChars(v, std::chars_format::fixed, --decimals);
    }
    return s;
  }
  return exponentForm(v, 3);
}

// "+6.6", "-2.3"; "0" when the deviation rounds to nothing.
std::string percentText(double percent) {
  std::string s = toChars(percent, std::chars_format::fixed, 1);
  dropTrailingZeros(s);
  if (s == "0" || s == "-0") return "0";
  return percent > 0 ? "+" + s : s;
}

// Where each character of a UTF-8 text begins, and its end.
std::vector<std::size_t> characterStarts(std::string_view text) {
  std::vector<std::size_t> starts;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) starts.push_back(i);
  }
  starts.push_back(text.size());
  return starts;
}

}  // namespace

std::string fitResultText(std::string_view text, double available,
                          const std::function<double(std::string_view)>& width) {
  if (width(text) <= available) return std::string(text);
  constexpr std::string_view kEllipsis = "…";
  const std::size_t e = text.find('E');
  const std::string_view body = e == std::string_view::npos ? text : text.substr(0, e);
  const std::string_view exponent = e == std::string_view::npos ? "" : text.substr(e);
  const std::vector<std::size_t> at = characterStarts(body);
  const std::size_t n = at.size() - 1;  // characters in body
  // head characters from the beginning of body, tail from its end, then the exponent.
  const auto compose = [&](std::size_t head, std::size_t tail) {
    std::string s(body.substr(0, at[head]));
    s.append(kEllipsis).append(body.substr(at[n - tail])).append(exponent);
    return s;
  };
  const bool balanced = exponent.empty();
  const std::size_t fewest = balanced ? 2 : 1;  // characters of body kept
  if (n <= fewest) return std::string(text);    // nothing to leave out
  std::string best = compose(1, fewest - 1);
  for (std::size_t kept = fewest + 1; kept < n; ++kept) {
    const std::size_t tail = balanced ? kept / 2 : 0;
    std::string candidate = compose(kept - tail, tail);
    if (width(candidate) > available) break;
    best = std::move(candidate);
  }
  return best;
}

std::optional<std::string> resultText(Checked value, std::string_view decimalPoint) {
  if (!value.ok()) return std::nullopt;
  return withDecimalPoint(plainText(value.value()), decimalPoint);
}

std::optional<std::string> listedValueText(Checked value, std::string_view decimalPoint) {
  if (!value.ok()) return std::nullopt;
  const double v = value.value();
  const std::string plain = plainText(v);
  // The digits that count: those after the leading zeros and the point.
  const std::size_t first = plain.find_first_not_of("0.");
  const std::size_t counted =
      first == std::string::npos
          ? 0
          : plain.size() - first - (plain.find('.', first) == std::string::npos ? 0 : 1);
  if (!(v > 0) || counted >= 3 || plain.find('E') != std::string::npos) {
    return withDecimalPoint(plain, decimalPoint);
  }
  return withDecimalPoint(threeSignificant(v), decimalPoint);
}

std::optional<std::string> resultDescription(Checked value, Unit unit,
                                             std::string_view decimalPoint) {
  if (!value.ok()) return std::nullopt;
  const double v = value.value();
  const std::string plain = plainText(v);
  const std::string_view u = unitText(unit);
  std::string text = withDecimalPoint(plain, decimalPoint);
  text.append(" ").append(u);
  if (!(v > 0)) return text;
  // Two decimals keep fewer than three significant digits of a value below 1 (0.21, 0): the
  // value itself is given to three.
  double shown = 0;
  std::from_chars(plain.data(), plain.data() + plain.size(), shown);
  if (shown < 1) {
    text.append("\n≈ ").append(withDecimalPoint(threeSignificant(v), decimalPoint));
    text.append(" ").append(u);
  }
  for (const PreferredSeries series : {PreferredSeries::E12, PreferredSeries::E24}) {
    text.append("\n").append(*preferredPart(value, unit, series, decimalPoint));
  }
  // Drawn in the system's face, which may lack "∥" (Tahoma has none): two bars say it too.
  if (auto pair = preferredPairPart(value, unit, decimalPoint, "||")) {
    text.append("\n").append(*pair);
  }
  return text;
}

std::optional<std::string> preferredPairPart(Checked value, Unit unit,
                                             std::string_view decimalPoint,
                                             std::string_view parallel) {
  if (!value.ok() || !(value.value() > 0)) return std::nullopt;
  const double v = value.value();
  const std::optional<PreferredPair> pair = nearestE12Pair(v);
  if (!pair) return std::nullopt;
  const std::string_view u = unitText(unit);
  const auto part = [&](double x) {
    return withDecimalPoint(preferredText(x), decimalPoint) + " " + std::string(u);
  };
  // Capacitors add in parallel, inductors in series: the words say which.
  const bool capacitor = unit == Unit::Microfarad;
  return "E12 ×2: " + part(pair->larger) + " " + std::string(capacitor ? parallel : "+") + " " +
         part(pair->smaller) + (capacitor ? " (успоредно)" : " (последователно)") + " = " +
         part(pair->sum) + " (" +
         withDecimalPoint(percentText((pair->sum - v) / v * 100.0), decimalPoint) + " %)";
}

std::optional<std::string> preferredPart(Checked value, Unit unit, PreferredSeries series,
                                         std::string_view decimalPoint) {
  if (!value.ok() || !(value.value() > 0)) return std::nullopt;
  // The part to buy is the one nearest the value itself, not its rounded text: 0.2123 mH
  // shows as 0.21, yet 0.22 mH lies nearer than 0.2.
  const double v = value.value();
  const double preferred = nearestPreferred(v, series);
  const double percent = (preferred - v) / v * 100.0;
  std::string text = series == PreferredSeries::E12 ? "E12: " : "E24: ";
  text.append(withDecimalPoint(preferredText(preferred), decimalPoint));
  text.append(" ").append(unitText(unit));
  text.append(" (").append(withDecimalPoint(percentText(percent), decimalPoint)).append(" %)");
  return text;
}

}  // namespace kalvena
