#pragma once

#include <cmath>

namespace kalvena {

// A double that remembers whether any step of the arithmetic that made it overflowed,
// divided by zero or had no defined result. Once a step goes wrong the final number can
// look harmless (1 / inf is 0), so the flag sticks like the floating-point status does, but
// it is carried with the value instead of living in the FPU, where the optimiser may move it.
// Every operator performs exactly the one double operation it names, so a formula written
// with Checked evaluates left to right like the same formula on plain doubles.
class Checked {
 public:
  Checked(double value) : value_(value), ok_(std::isfinite(value)) {}  // NOLINT

  double value() const { return value_; }
  // False when some step gave an infinite or undefined result.
  bool ok() const { return ok_; }

  friend Checked operator*(Checked a, Checked b) {
    return Checked(a.value_ * b.value_, a.ok_ && b.ok_);
  }
  friend Checked operator/(Checked a, Checked b) {
    return Checked(a.value_ / b.value_, a.ok_ && b.ok_);
  }

 private:
  Checked(double value, bool ok) : value_(value), ok_(ok && std::isfinite(value)) {}

  double value_;
  bool ok_;
};

}  // namespace kalvena
