#pragma once

// What of a drawn text is ink, decided once for every toolkit. A toolkit only rasterises: a
// caption, a line of text or a glyph, as the coverage of its pixels. Its ink box, its runs of
// inked columns and whether a number's characters stand apart are found here, from that
// coverage, by one rule.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "painter.h"

namespace kalvena::ui {

// A pixel is ink where a quarter of it or more is covered. A column between two glyphs then
// holds less than a quarter of each, less than half in all, which the eye does not take for a
// stroke: what keeps a number's characters apart, in a result and in an input box, and a
// caption clear of the box beside it.
inline constexpr std::uint8_t kInkCoverage = 64;
constexpr bool isInk(std::uint8_t coverage) { return coverage >= kInkCoverage; }

// How much of a pixel that a toolkit drew black on white is covered, from its three channels.
constexpr std::uint8_t coverageOfGrey(int red, int green, int blue) {
  return static_cast<std::uint8_t>(255 - (red + green + blue) / 3);
}

// The box that holds every pixel of ink, in the coverage's own pixels, right and bottom
// exclusive; width and height 0 where it has none.
PixelRect inkBox(const Coverage& coverage);
// How many runs of inked columns the coverage holds, a column of ground between each two.
int inkRuns(const Coverage& coverage);

// What a number is written with: digits and both decimal separators.
inline constexpr std::string_view kNumberCharacters = "0123456789.,";
// Every ordered pair of those characters that a number can hold side by side (a digit on one
// side at least), in lines of eight pairs, each pair two spaces from the next (a long run of
// text is not always drawn whole).
const std::vector<std::string>& numberPairLines();
// Whether every two characters a number holds side by side keep a column of ground between
// their ink, so that none reads into its neighbour, as `rasterise` draws a line of text (the
// row-th of numberPairLines) in a box's face: each pair two runs of ink. A line that cannot be
// drawn (no coverage) is not held against the face.
bool numbersStandApart(
    const std::function<Coverage(std::size_t row, std::string_view line)>& rasterise);

// A size chosen from a largest down, and a candidate (a face, a spacing) at it.
struct Fitting {
  int candidate = 0;
  int pixels = 0;
};
// The largest size from `largest` down to `smallest`, and at it the first of `candidates`, at
// which `fits(candidate, pixels)` holds. Where it holds for none, the first candidate at the
// largest size: a text a few pixels high would read no better, only smaller.
Fitting largestFitting(int largest, int smallest, int candidates,
                       const std::function<bool(int candidate, int pixels)>& fits);

// A caption's extent (as captionExtent gave it) and its ink as `painter` draws it, from the
// start of its baseline; where the painter could not draw it, its extent.
TextExtent captionInk(Painter& painter, std::string_view utf8, int pixelSize,
                      const TextExtent& extent);
inline TextExtent captionInk(Painter& painter, std::string_view utf8, int pixelSize) {
  return captionInk(painter, utf8, pixelSize, painter.captionExtent(utf8, pixelSize));
}

}  // namespace kalvena::ui
