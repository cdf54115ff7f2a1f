// Any double as a result: its text must be true to two decimals or to 15 significant digits,
// carry no group separator, and nothing at all must be shown for a value that is not finite.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "require.h"
#include "result_text.h"

using kalvena::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  double value = 0;
  if (size < sizeof value) return 0;
  std::memcpy(&value, data, sizeof value);

  const std::optional<std::string> point = kalvena::resultText(value, ".");
  const std::optional<std::string> comma = kalvena::resultText(value, ",");
  if (!std::isfinite(value)) {
    require(!point && !comma);
    return 0;
  }
  require(point && comma);

  int significant = 0;
  bool leadingZeros = true;
  bool exponent = false;
  std::size_t decimals = 0;
  bool afterPoint = false;
  for (const char c : *point) {
    require((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'E');
    if (c == 'E') exponent = true;
    if (exponent) continue;
    if (c == '.') afterPoint = true;
    if (c >= '0' && c <= '9') {
      if (afterPoint) ++decimals;
      if (c != '0') leadingZeros = false;
      if (!leadingZeros) ++significant;
    }
  }
  require(significant <= 15);

  std::string swapped = *point;
  for (char& c : swapped) {
    if (c == '.') c = ',';
  }
  require(swapped == *comma);

  // Read back wider than a double: 15 digits of the largest double lie just beyond it.
  const long double shown = std::strtold(point->c_str(), nullptr);
  const long double v = value;
  if (exponent) {
    require(std::fabs(v) >= 999999999999999.0L);
    require(std::fabs(shown - v) <= std::fabs(v) * 1e-14L);
  } else {
    require(decimals <= 2);
    require(std::fabs(shown - v) <= 0.005L + std::fabs(v) * 1e-14L);
  }
  return 0;
}
