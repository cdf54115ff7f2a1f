#pragma once

// Where each character of a result goes in its box, decided once for both toolkits from the ink
// of the glyphs that the toolkit rasterises: every digit's ink a clear column (two from 200 %)
// from the next, twice that around a point, comma, sign or "…", at the largest size that fits,
// a size smaller where nine characters need it, and below the smallest the beginning and the
// end with "…" between. Where a face's point or comma is a stroke one pixel wide or a few grey
// pixels, which the eye takes for another mark or loses, the separator is drawn as a shape of
// whole pixels, unless that alone would cost the digits a size, or the digits are small and
// smoothed; a separator the face draws no ink for at all, and an ellipsis too narrow for three
// dots, always are.

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "painter.h"

namespace kalvena::ui {

// A glyph as the toolkit draws it at a size, in device pixels from its origin on the baseline
// (y down): its advance and the box of its ink, right and bottom exclusive (no ink: left ==
// right), by the one rule of what is ink (ink.h).
struct GlyphInk {
  int advance = 0;
  int left = 0;
  int right = 0;
  int top = 0;
  int bottom = 0;
};

// A glyph as the toolkit rasterises it at a size: its coverage, rows of `width` values from 0
// (ground) to 255 (ink), whose top-left lies at (left, top) from the origin on the baseline, y
// down; and its ink, found in that coverage (makeGlyph).
struct Glyph {
  GlyphInk ink;
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> coverage;
};

// The glyph of that advance and coverage, with its ink found.
Glyph makeGlyph(int advance, int left, int top, int width, int height,
                std::vector<std::uint8_t> coverage);

// What a result box's toolkit offers: a face at a few sizes, the largest first.
class GlyphSource {
 public:
  virtual int sizeCount() const = 0;
  // character: one character, UTF-8. The glyph stays where it is while the source lives.
  virtual const Glyph& glyph(int size, std::string_view character) = 0;
  // Whether the glyphs at a size are drawn with grey, smoothed edges.
  virtual bool smoothed(int size) const = 0;

 protected:
  ~GlyphSource() = default;
};

struct PlacedCharacter {
  std::string character;  // UTF-8
  int origin;             // from the start of the room, in device pixels
  // Where not empty, drawn in place of the glyph: a separator's shape, in whole pixels from the
  // origin on the baseline, y down.
  std::vector<PixelRect> shape;
  // The columns its ink (or its shape) covers, from the start of the room, right exclusive.
  int inkLeft = 0;
  int inkRight = 0;
};

struct ResultLine {
  int size = 0;  // among the source's sizes
  std::vector<PlacedCharacter> characters;
  int width = 0;     // from the start of the room to the end of the last ink
  bool fits = true;  // false: cut with "…" at the smallest size, and still wider than the room
  std::string text() const;
};

// The clear column that keeps two digits' ink apart, on a surface of `scale` device pixels to a
// logical pixel: a device pixel wide, two from 200 %.
constexpr int clearColumn(double scale) { return std::max(1, static_cast<int>(scale)); }

// A result is one value, selected whole or not at all: a selection of any part of a text of
// `length` characters takes all of it.
struct TextSelection {
  int start;
  int length;
  friend bool operator==(const TextSelection&, const TextSelection&) = default;
};
constexpr TextSelection resultSelection(TextSelection selected, int length) {
  return selected.length != 0 ? TextSelection{0, length} : TextSelection{0, 0};
}

// The result laid out in `available` device pixels; gap is a clear column's width in them.
ResultLine layOutResult(std::string_view text, int available, int gap, GlyphSource& glyphs);

// A laid-out line's coverage (0 to 255 a pixel, rows of `width`) on a canvas `width` by `height`
// pixels, the room's start at column `left` and the baseline on row `baseline`: each glyph, or
// the shape drawn in its place, over what lies under it. What falls outside is cut. The toolkit
// colours it.
std::vector<std::uint8_t> coverLine(const ResultLine& line, GlyphSource& glyphs, int width,
                                    int height, int left, int baseline);

}  // namespace kalvena::ui
