#pragma once

#include <optional>

namespace kalvena {

// The IEC 60063 preferred-number series that capacitors and inductors are sold in.
enum class PreferredSeries { E12, E24 };

// The value of the series nearest to value, in the same unit: 14.07 -> 15 (E12), 9.6 -> 10.
// "Nearest" is the smallest difference, which is also the smallest deviation in per cent of
// value; a value exactly between two neighbours goes to the lower one. value must be a
// positive finite number.
double nearestPreferred(double value, PreferredSeries series);

// Two E12 parts whose values add, as capacitors in parallel and inductors in series do.
struct PreferredPair {
  double larger = 0, smaller = 0;
  double sum = 0;  // the decimal sum, not larger + smaller rounded twice (0.33 + 0.27 is 0.6)
};

// The pair of E12 values whose sum lies nearest to value: from any decades, the larger first,
// the smaller at least a tenth of it (a smaller one changes too little to be worth buying).
// Among pairs equally near, the one with the larger smaller part. Nothing where no pair lies
// nearer than the single E12 part nearest to value: 14.07 -> 12 + 2.2, 1.8 -> nothing. value
// must be a positive finite number.
std::optional<PreferredPair> nearestE12Pair(double value);

}  // namespace kalvena
