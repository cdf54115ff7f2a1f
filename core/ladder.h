#pragma once

// A crossover section as its schematic draws it: a ladder of capacitors and inductors, each in
// series with the signal or across the wires, driven by an ideal voltage source and loaded by
// a resistance. Where its response crosses -3 dB, found by bracketing and bisection.

#include <complex>
#include <optional>
#include <span>
#include <vector>

namespace kalvena {

struct LadderElement {
  enum class Kind { Capacitor, Inductor };
  enum class Place { Series, Shunt };
  Kind kind;
  Place place;
  double value;           // farads or henries
  double resistance = 0;  // ohms in series with an inductor: its wire's
};

// The level across the load relative to the source, in dB, at frequency hz. The elements go
// from the source to the load, in the order the schematic draws them.
double ladderLevelDb(std::span<const LadderElement> ladder, double load, double hz);
// The voltage across the load over the source's, at frequency hz: its level and its phase.
std::complex<double> ladderResponse(std::span<const LadderElement> ladder, double load, double hz);
// The same into a load of any impedance, in ohms.
std::complex<double> ladderResponse(std::span<const LadderElement> ladder,
                                    std::complex<double> load, double hz);
// The impedance the source sees at frequency hz, the ladder into a load, in ohms.
std::complex<double> ladderInputImpedance(std::span<const LadderElement> ladder,
                                          std::complex<double> load, double hz);

// Where a section's response crosses -3 dB (half power: 1/sqrt(2) of the source's voltage), in
// hertz: the frequency where it falls through it (a low-pass's upper edge) and the one where it
// rises through it (a high-pass's lower edge); a band-pass has both. Besides, every stretch at
// -3 dB or above, and every peak and dip of the level. Searched from a hundredth
// of lowHz to a hundred times highHz, where every crossing is found, however narrow a peak:
// the squared level is a ratio of polynomials in f^2, whose crossings lie one at most between
// two neighbouring extremes. Where the response never reaches -3 dB there, neither is given.
// Nothing where the response cannot be evaluated (values so far out of range that the
// arithmetic overflows). The coils' resistance is not counted here.
// A stretch of frequencies where the level is at -3 dB or above; an end not given lies beyond
// the searched range. A highest or lowest point of the level, in hertz and dB.
struct Stretch {
  std::optional<double> from;
  std::optional<double> to;
};
struct Extreme {
  double hz;
  double db;
};
struct Crossings {
  std::optional<double> rising;    // the lowest frequency at which it rises through -3 dB
  std::optional<double> falling;   // the highest at which it falls through it
  std::vector<Stretch> stretches;  // in order; more than one where the level dips between
  std::vector<Extreme> peaks;      // every point higher than its neighbourhood, in order
  std::vector<Extreme> dips;       // every point lower than its neighbourhood, in order
};
std::optional<Crossings> minus3DbCrossings(std::span<const LadderElement> ladder, double load,
                                           double lowHz, double highHz);

}  // namespace kalvena
