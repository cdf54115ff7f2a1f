#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "checked.h"
#include "preferred_values.h"
#include "unit.h"

namespace kalvena {

// How a result box, a hover text and the parts list write a unit.
constexpr std::string_view unitText(Unit unit) { return unit == Unit::Microfarad ? "µF" : "mH"; }

// A value as the parts list gives it: at least three significant digits, so that none reads
// as 0 and each part's deviation follows from the figure shown: 14.07 as the box shows it,
// 1.80 for its 1.8 (1.7998), 0.0225 for its 0.02. Nothing when resultText has no text.
std::optional<std::string> listedValueText(Checked value, std::string_view decimalPoint);

// The text a result box shows for a value: rounded to two decimals, at most 15 significant
// digits, no trailing zeros (1.8, 20), no group separators, and decimalPoint between the
// whole and the fractional part. From 10^15 up the value is written in exponent form with
// up to 15 significant digits, "1.5E+20". Nothing when the value is not a finite number, or
// when some step of the arithmetic that made it overflowed: such a number would not be true.
std::optional<std::string> resultText(Checked value, std::string_view decimalPoint);

// What a result box says on hover: its whole text with the unit; for a value below 1, whose
// two decimals keep fewer than three significant digits, the value to three ("≈ 0.212 mH");
// then the E12 and E24 values nearest the value itself and how far each lies from it, in per
// cent to one decimal, and the best pair of E12 parts where it lies nearer than one:
//   14.07 µF
//   E12: 15 µF (+6.6 %)
//   E24: 15 µF (+6.6 %)
//   E12 ×2: 12 µF || 2.2 µF (успоредно) = 14.2 µF (+0.9 %)
// A value that is not positive has no preferred value. Nothing when resultText has no text.
std::optional<std::string> resultDescription(Checked value, Unit unit,
                                             std::string_view decimalPoint);

// The nearest part of a series with its deviation from the value, as a hover text gives it:
// "E12: 15 µF (+6.6 %)". Nothing for a value that has no preferred value (not positive, or
// not a finite number).
std::optional<std::string> preferredPart(Checked value, Unit unit, PreferredSeries series,
                                         std::string_view decimalPoint);

// The best pair of E12 parts for a value, where it lies nearer than the single E12 part, with
// its sum and that sum's deviation from the value, as a hover text gives it:
// "E12 ×2: 12 µF ∥ 2.2 µF (успоредно) = 14.2 µF (+0.9 %)" for capacitors, which go in
// parallel, "2.7 mH + 0.33 mH (последователно) = …" for inductors, which go in series.
// Nothing otherwise (nearestE12Pair). `parallel` is the sign between capacitors.
std::optional<std::string> preferredPairPart(Checked value, Unit unit,
                                             std::string_view decimalPoint,
                                             std::string_view parallel = "∥");

// What a box shows of a result text that may be wider than the box: the text itself where it
// fits; otherwise its beginning and its end with "…" between, so that it never reads as
// another number. A text in exponent form keeps its whole exponent ("2.2519…E+22"); any other
// keeps as much of its beginning as of its end ("1234…3.25"). width(utf8) measures a text as
// the box draws it; available is the width it has. At least one character stays on each side.
std::string fitResultText(std::string_view text, double available,
                          const std::function<double(std::string_view)>& width);

}  // namespace kalvena
