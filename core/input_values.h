#pragma once

namespace kalvena {

// The seven numbers a window works from. Each holds the value of the digits its box shows,
// or 0 when the box is empty. Frequencies are in hertz, impedances in ohms.
struct InputValues {
  double LowFc = 0;
  double LowR = 0;
  double MidFc1 = 0;
  double MidFc2 = 0;
  double MidR = 0;
  double HighFc = 0;
  double HighR = 0;
  bool operator==(const InputValues&) const = default;
};

enum class Section { Low, Middle, High };

// A section is computed only when none of its fields is zero.
constexpr bool sectionComplete(const InputValues& v, Section s) {
  switch (s) {
    case Section::Low:
      return v.LowFc != 0.0 && v.LowR != 0.0;
    case Section::Middle:
      return v.MidFc1 != 0.0 && v.MidFc2 != 0.0 && v.MidR != 0.0;
    case Section::High:
      return v.HighFc != 0.0 && v.HighR != 0.0;
  }
  return false;
}

}  // namespace kalvena
