#pragma once

namespace kalvena {

// The IEC 60063 preferred-number series that capacitors and inductors are sold in.
enum class PreferredSeries { E12, E24 };

// The value of the series nearest to value, in the same unit: 14.07 -> 15 (E12), 9.6 -> 10.
// "Nearest" is the smallest difference, which is also the smallest deviation in per cent of
// value; a value exactly between two neighbours goes to the lower one. value must be a
// positive finite number.
double nearestPreferred(double value, PreferredSeries series);

}  // namespace kalvena
