#include "ladder.h"

#include "complex_quotient.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <type_traits>
#include <vector>

namespace kalvena {
namespace {

using Complex = std::complex<double>;

// a times jx: the product with a purely imaginary number, written out.
Complex timesJ(Complex a, double x) { return {-a.imag() * x, a.real() * x}; }

// A + B / Z of the ladder's chain (ABCD) matrix into a load Z: the source's voltage over the
// load's. Element by element from the source, a series impedance Z is [1 Z; 0 1] and an
// admittance Y across the wires [1 0; Y 1]: an inductor's is R + jwL with its wire's resistance
// R, a capacitor's -j/(wC). The first row [A B] of the product depends on nothing else, so only
// it is kept. A purely reactive element is multiplied out by hand.
template <class Load>
Complex sourceOverLoad(std::span<const LadderElement> ladder, Load load, double hz) {
  const double w = 2.0 * std::numbers::pi * hz;
  Complex a = 1.0, b = 0.0;
  for (const LadderElement& e : ladder) {
    const bool capacitor = e.kind == LadderElement::Kind::Capacitor;
    const bool series = e.place == LadderElement::Place::Series;
    if (!capacitor && e.resistance != 0.0) {
      const Complex z(e.resistance, w * e.value);
      if (series) {
        b += a * z;
      } else {
        a += quotient(b, z);
      }
    } else if (series) {
      b += timesJ(a, capacitor ? -1.0 / (w * e.value) : w * e.value);
    } else {
      a += timesJ(b, capacitor ? w * e.value : -1.0 / (w * e.value));
    }
  }
  if constexpr (std::is_same_v<Load, double>) {
    return a + b / load;
  } else {
    return a + quotient(b, load);
  }
}

// A polynomial, its coefficients from the constant up.
using Polynomial = std::vector<double>;

double valueAt(const Polynomial& p, double x) {
  double v = 0;
  for (auto c = p.rbegin(); c != p.rend(); ++c) v = v * x + *c;
  return v;
}

// Where p changes between positive and not positive in [from, to] (0 < from < to), in order:
// each place where p(x) > 0 differs on its two sides, and whether it is positive before. Between
// two neighbouring extremes, the places where its derivative changes sign, p is monotonic and
// changes at most once, so that none is missed, however close two lie. Found to a relative 1e-12.
struct SignChange {
  double x;
  bool positiveBefore;
};
// False where p cannot be evaluated there: a value out of the range of a double.
bool signChanges(const Polynomial& p, double from, double to, std::vector<SignChange>& out) {
  if (p.size() < 2) return true;
  Polynomial slope(p.size() - 1);
  for (std::size_t i = 1; i < p.size(); ++i) slope[i - 1] = static_cast<double>(i) * p[i];
  std::vector<SignChange> extremes;
  if (!signChanges(slope, from, to, extremes)) return false;
  std::vector<double> points{from};
  for (const SignChange& e : extremes) points.push_back(e.x);
  points.push_back(to);
  for (std::size_t i = 0; i + 1 < points.size(); ++i) {
    double lo = points[i], hi = points[i + 1];
    const double atLo = valueAt(p, lo), atHi = valueAt(p, hi);
    if (!std::isfinite(atLo) || !std::isfinite(atHi)) return false;
    const bool positive = atLo > 0;
    if ((atHi > 0) == positive || !(lo < hi)) continue;
    // Halving the bracket's ratio while it is wide, then Newton's steps where they stay inside
    // it, else halving its width; the bracket keeps the side where p is as at lo.
    double x = std::sqrt(lo) * std::sqrt(hi);
    for (int k = 0; k < 200; ++k) {
      const double v = valueAt(p, x);
      ((v > 0) == positive ? lo : hi) = x;
      double next = hi / lo > 2.0 ? std::sqrt(lo) * std::sqrt(hi) : x - v / valueAt(slope, x);
      if (!(next > lo && next < hi)) next = lo + (hi - lo) / 2;
      if (std::fabs(next - x) <= 1e-12 * x || hi - lo <= 1e-12 * hi) {
        x = next;
        break;
      }
      x = next;
    }
    out.push_back({x, positive});
  }
  return true;
}

}  // namespace

double ladderLevelDb(std::span<const LadderElement> ladder, double load, double hz) {
  return -20.0 * std::log10(std::abs(sourceOverLoad(ladder, load, hz)));
}

std::complex<double> ladderResponse(std::span<const LadderElement> ladder, double load, double hz) {
  return reciprocal(sourceOverLoad(ladder, load, hz));
}

std::complex<double> ladderResponse(std::span<const LadderElement> ladder,
                                    std::complex<double> load, double hz) {
  return reciprocal(sourceOverLoad(ladder, load, hz));
}

std::complex<double> ladderInputImpedance(std::span<const LadderElement> ladder,
                                          std::complex<double> load, double hz) {
  // From the load back to the source: a series impedance adds to what lies behind it, an
  // element across the wires is in parallel with it.
  const double w = 2.0 * std::numbers::pi * hz;
  Complex z = load;
  for (auto e = ladder.rbegin(); e != ladder.rend(); ++e) {
    const Complex own = e->kind == LadderElement::Kind::Capacitor
                            ? Complex(0, -1.0 / (w * e->value))
                            : Complex(e->resistance, w * e->value);
    z = e->place == LadderElement::Place::Series ? z + own : z * own / (z + own);
  }
  return z;
}

std::optional<Crossings> minus3DbCrossings(std::span<const LadderElement> ladder, double load,
                                           double lowHz, double highHz) {
  const double from = lowHz / 100.0, to = highHz * 100.0;
  if (!(from > 0.0) || !std::isfinite(to) || !(to >= from) || !(load > 0.0)) return std::nullopt;
  // In t = s / w0, w0 the geometric middle of the typed frequencies, and with impedances in
  // ohms of the load, the entries A and B of the chain matrix's first row (as in
  // sourceOverLoad) are polynomials in t and 1/t: a term t^p is kept at p + n. A series
  // impedance z t^(+-1), an admittance y t^(+-1) across the wires.
  const double w0 = 2.0 * std::numbers::pi * std::sqrt(lowHz) * std::sqrt(highHz);
  const std::size_t n = ladder.size(), size = 2 * n + 1;
  Polynomial a(size), b(size);
  a[n] = 1.0;
  const auto addTimes = [&](Polynomial& into, const Polynomial& p, double factor, bool up) {
    for (std::size_t i = up ? 0 : 1; i + (up ? 1 : 0) < size; ++i) {
      into[up ? i + 1 : i - 1] += p[i] * factor;
    }
  };
  for (const LadderElement& e : ladder) {
    const bool capacitor = e.kind == LadderElement::Kind::Capacitor;
    if (e.place == LadderElement::Place::Series) {
      const double z = capacitor ? 1.0 / (w0 * e.value * load) : w0 * e.value / load;
      addTimes(b, a, z, !capacitor);
    } else {
      const double y = capacitor ? w0 * e.value * load : load / (w0 * e.value);
      addTimes(a, b, y, capacitor);
    }
  }
  // The source's voltage over the load's is A + B; at t = jv its squared magnitude is a
  // polynomial q in x = v^2 and 1/x, kept times x^n. Less twice x^n, it is positive where the
  // level is below -3 dB (half power) and changes sign where the level crosses it. The level's
  // extremes are those of q / x^n, where x q' - n q changes sign.
  Polynomial sum(size), q(size);
  for (std::size_t k = 0; k < size; ++k) sum[k] = a[k] + b[k];
  for (std::size_t k = 0; k < size; ++k) {
    for (std::size_t l = k % 2; l < size; l += 2) {
      const bool negative = ((k > l ? k - l : l - k) / 2) % 2 == 1;  // j^k (-j)^l
      q[(k + l) / 2] += negative ? -sum[k] * sum[l] : sum[k] * sum[l];
    }
  }
  Polynomial p = q, slope(size);
  p[n] -= 2.0;
  for (std::size_t k = 0; k < size; ++k) {
    slope[k] = (static_cast<double>(k) - static_cast<double>(n)) * q[k];
  }
  const auto x = [&](double hz) {
    return (2.0 * std::numbers::pi * hz / w0) * (2.0 * std::numbers::pi * hz / w0);
  };
  const auto hzOf = [&](double at) { return w0 * std::sqrt(at) / (2.0 * std::numbers::pi); };
  // Terms that are exactly zero at either end come from elements the ladder does not have;
  // dividing by a power of x > 0 moves no root.
  const auto changesOf = [&](Polynomial poly, std::vector<SignChange>& out) {
    for (const double coefficient : poly) {
      if (!std::isfinite(coefficient)) return false;
    }
    while (poly.size() > 1 && poly.back() == 0.0) poly.pop_back();
    const auto first = std::find_if(poly.begin(), poly.end(), [](double t) { return t != 0.0; });
    poly.erase(poly.begin(), std::min(first, poly.end() - 1));
    return signChanges(poly, x(from), x(to), out);
  };
  std::vector<SignChange> changes, extremes;
  if (!std::isfinite(x(to)) || !(x(from) > 0.0) || !changesOf(p, changes) ||
      !changesOf(slope, extremes)) {
    return std::nullopt;
  }

  // The polynomial's sums may cancel where a peak is sharp: each crossing is polished on the
  // ladder itself, where it changes within a millionth of the one found.
  const auto polished = [&](double hz, bool rising) {
    const auto below = [&](double f) { return std::norm(sourceOverLoad(ladder, load, f)) > 2.0; };
    double lo = hz * (1 - 1e-6), hi = hz * (1 + 1e-6);
    if (below(lo) != rising || below(hi) == rising) return hz;
    for (int k = 0; k < 32; ++k) {
      const double mid = lo + (hi - lo) / 2;
      (below(mid) == rising ? lo : hi) = mid;
    }
    return lo + (hi - lo) / 2;
  };
  Crossings found;
  // At the search's start the level is at -3 dB or above where the first change falls.
  if (changes.empty() ? valueAt(p, x(from)) <= 0 : !changes.front().positiveBefore) {
    found.stretches.push_back({});
  }
  for (const SignChange& change : changes) {
    const double hz = hzOf(change.x);
    // Rising where the level is below -3 dB before.
    if (change.positiveBefore) {
      if (!found.rising) found.rising = polished(hz, true);
      found.stretches.push_back({polished(hz, true), std::nullopt});
    } else {
      found.falling = polished(hz, false);
      found.stretches.back().to = found.falling;
    }
  }
  for (const SignChange& e : extremes) {
    // q / x^n falls before a peak of the level and rises before a dip.
    const double hz = hzOf(e.x);
    (e.positiveBefore ? found.dips : found.peaks).push_back({hz, ladderLevelDb(ladder, load, hz)});
  }
  for (const std::optional<double>& edge : {found.rising, found.falling}) {
    if (edge && !std::isfinite(*edge)) return std::nullopt;
  }
  return found;
}

}  // namespace kalvena
