#pragma once

// What a fuzzer checks: a condition that does not hold ends the run, which libFuzzer reports
// with the input that broke it.
#include <cstdlib>

namespace kalvena::fuzz {

inline void require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace kalvena::fuzz
