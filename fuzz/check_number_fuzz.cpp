// Any bytes as the text of an input box: the input rule must accept exactly the digit strings,
// and store the nearest double of those it accepts, or reject them only for being too large.
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "check_number.h"
#include "require.h"

using kalvena::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  bool allDigits = true;
  for (const char c : text) allDigits = allDigits && c >= '0' && c <= '9';

  require(kalvena::CheckNumber(text) == !allDigits);

  const std::optional<double> stored = kalvena::inputFieldValue(text);
  if (!allDigits) {
    require(!stored);
    return 0;
  }
  if (text.empty()) {
    require(stored == 0.0);
    return 0;
  }
  // The C library's conversion is correctly rounded too: both must agree.
  errno = 0;
  const double expected = std::strtod(text.c_str(), nullptr);
  if (errno == ERANGE && std::isinf(expected)) {
    require(!stored);
  } else {
    require(stored.has_value() && *stored == expected && *stored >= 0);
  }
  return 0;
}
