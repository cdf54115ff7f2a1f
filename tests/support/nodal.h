#pragma once

// The crossover sections solved another way than the program does: each drawn as branches
// between nodes and solved by its nodal equations, for the tests to compare with.

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "input_values.h"
#include "response.h"
#include "second_order.h"
#include "third_order.h"

namespace kalvena::nodal {

using Complex = std::complex<double>;

// A network drawn as branches between nodes, solved by its nodal equations: node 0 is ground,
// node 1 the source at 1 V, the highest node the load's. Nothing here knows of ladders.
struct Branch {
  std::size_t from, to;
  char kind;     // 'C', 'L' or 'R'
  double value;  // farads, henries, ohms
};

inline Complex loadVoltage(const std::vector<Branch>& branches, double hz) {
  std::size_t nodes = 0;
  for (const Branch& b : branches) nodes = std::max({nodes, b.from, b.to});
  const double w = 2 * std::acos(-1.0) * hz;
  // Unknown nodes 2..nodes; the admittance matrix with the source's column moved right.
  const std::size_t n = nodes - 1;
  std::vector<std::vector<Complex>> m(n, std::vector<Complex>(n + 1));
  for (const Branch& b : branches) {
    const Complex y = b.kind == 'C'   ? Complex(0, w * b.value)
                      : b.kind == 'L' ? 1.0 / Complex(0, w * b.value)
                                      : Complex(1 / b.value);
    for (const auto& [p, q] : {std::pair{b.from, b.to}, std::pair{b.to, b.from}}) {
      if (p < 2) continue;
      m[p - 2][p - 2] += y;
      if (q >= 2) m[p - 2][q - 2] -= y;
      if (q == 1) m[p - 2][n] += y;  // the source's 1 V
    }
  }
  for (std::size_t col = 0; col < n; ++col) {  // Gaussian elimination with partial pivoting
    std::size_t pivot = col;
    for (std::size_t r = col + 1; r < n; ++r) {
      if (std::abs(m[r][col]) > std::abs(m[pivot][col])) pivot = r;
    }
    std::swap(m[col], m[pivot]);
    for (std::size_t r = 0; r < n; ++r) {
      if (r == col) continue;
      const Complex f = m[r][col] / m[col][col];
      for (std::size_t k = col; k <= n; ++k) m[r][k] -= f * m[col][k];
    }
  }
  return m[n - 1][n] / m[n - 1][n - 1];
}

// Each section as its schematic draws it, in nodes; v(name) is an element's computed value in
// µF or mH, and parts what a set of parts makes of it.
using Value = std::function<double(const char*)>;
inline std::vector<Branch> drawn(int order, Section section, const Value& v, double r) {
  const auto c = [&](const char* n) { return v(n) * 1e-6; };
  const auto l = [&](const char* n) { return v(n) * 1e-3; };
  using B = Branch;
  if (order == 12) {
    switch (section) {
      case Section::Low:
        return {B{1, 2, 'L', l("LowL")}, B{2, 0, 'C', c("LowC")}, B{2, 0, 'R', r}};
      case Section::Middle:
        return {B{1, 2, 'C', c("MidC1")}, B{2, 3, 'L', l("MidL1")}, B{3, 0, 'L', l("MidL2")},
                B{3, 0, 'C', c("MidC2")}, B{3, 0, 'R', r}};
      case Section::High:
        return {B{1, 2, 'C', c("HighC")}, B{2, 0, 'L', l("HighL")}, B{2, 0, 'R', r}};
    }
  }
  switch (section) {
    case Section::Low:
      return {B{1, 2, 'L', l("LowL1")}, B{2, 0, 'C', c("LowC")}, B{2, 3, 'L', l("LowL2")},
              B{3, 0, 'R', r}};
    case Section::Middle:
      return {B{1, 2, 'C', c("MidC1")}, B{2, 3, 'L', l("MidL1")}, B{3, 0, 'L', l("MidL3")},
              B{3, 0, 'C', c("MidC3")}, B{3, 4, 'C', c("MidC2")}, B{4, 5, 'L', l("MidL2")},
              B{5, 0, 'R', r}};
    case Section::High:
      return {B{1, 2, 'C', c("HighC1")}, B{2, 0, 'L', l("HighL")}, B{2, 3, 'C', c("HighC2")},
              B{3, 0, 'R', r}};
  }
  return {};
}

// The computed values of a window by name, as the tests of its formulas know them.
inline std::map<std::string, double> values12(const InputValues& v) {
  return {{"LowC", secondOrderCapacitance(v.LowFc, v.LowR).value()},
          {"LowL", secondOrderInductance(v.LowFc, v.LowR).value()},
          {"MidC1", secondOrderCapacitance(v.MidFc1, v.MidR).value()},
          {"MidC2", secondOrderCapacitance(v.MidFc2, v.MidR).value()},
          {"MidL1", secondOrderInductance(v.MidFc2, v.MidR).value()},
          {"MidL2", secondOrderInductance(v.MidFc1, v.MidR).value()},
          {"HighC", secondOrderCapacitance(v.HighFc, v.HighR).value()},
          {"HighL", secondOrderInductance(v.HighFc, v.HighR).value()}};
}
inline std::map<std::string, double> values18(const InputValues& v) {
  return {{"LowC", thirdOrderLowPassC(v.LowFc, v.LowR).value()},
          {"LowL1", thirdOrderLowPassL1(v.LowFc, v.LowR).value()},
          {"LowL2", thirdOrderLowPassL2(v.LowFc, v.LowR).value()},
          {"MidC1", thirdOrderHighPassC1(v.MidFc1, v.MidR).value()},
          {"MidC2", thirdOrderHighPassC2(v.MidFc1, v.MidR).value()},
          {"MidL3", thirdOrderHighPassL(v.MidFc1, v.MidR).value()},
          {"MidC3", thirdOrderLowPassC(v.MidFc2, v.MidR).value()},
          {"MidL1", thirdOrderLowPassL1(v.MidFc2, v.MidR).value()},
          {"MidL2", thirdOrderLowPassL2(v.MidFc2, v.MidR).value()},
          {"HighC1", thirdOrderHighPassC1(v.HighFc, v.HighR).value()},
          {"HighC2", thirdOrderHighPassC2(v.HighFc, v.HighR).value()},
          {"HighL", thirdOrderHighPassL(v.HighFc, v.HighR).value()}};
}

// The three sections of a window (order 12 or 18) for the inputs, low, middle and high, drawn in
// nodes and built of a set's parts.
inline std::array<std::vector<Branch>, 3> drawnSections(int order, const InputValues& in,
                                                        PartsSet set) {
  const std::map<std::string, double> computed = order == 12 ? values12(in) : values18(in);
  const auto value = [&](const char* n) { return partsValue(computed.at(n), set); };
  return {drawn(order, Section::Low, value, in.LowR), drawn(order, Section::Middle, value, in.MidR),
          drawn(order, Section::High, value, in.HighR)};
}

}  // namespace kalvena::nodal
