#pragma once

// A complex quotient written out: the library's operator/ guards against overflow and infinities
// in a call of its own, which the curves' millions of quotients (impedances of ohms at audio
// frequencies, never near a double's range) need not pay for.

#include <complex>

namespace kalvena {

inline std::complex<double> quotient(std::complex<double> a, std::complex<double> b) {
  const double d = b.real() * b.real() + b.imag() * b.imag();
  return {(a.real() * b.real() + a.imag() * b.imag()) / d,
          (a.imag() * b.real() - a.real() * b.imag()) / d};
}
inline std::complex<double> reciprocal(std::complex<double> b) {
  const double d = b.real() * b.real() + b.imag() * b.imag();
  return {b.real() / d, -b.imag() / d};
}

}  // namespace kalvena
