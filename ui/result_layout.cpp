#include "result_layout.h"

#include <algorithm>
#include <climits>

#include "ink.h"
#include "result_text.h"

namespace kalvena::ui {

namespace {

bool isDigit(std::string_view c) { return c.size() == 1 && c[0] >= '0' && c[0] <= '9'; }

std::vector<std::string_view> charactersOf(std::string_view utf8) {
  std::vector<std::string_view> out;
  for (std::size_t i = 0; i < utf8.size();) {
    std::size_t n = 1;
    while (i + n < utf8.size() && (static_cast<unsigned char>(utf8[i + n]) & 0xC0) == 0x80) ++n;
    out.push_back(utf8.substr(i, n));
    i += n;
  }
  return out;
}

// A character's ink, and the shape it is drawn as where its own is too small to read.
struct Ink {
  GlyphInk glyph;
  std::vector<PixelRect> shape;
};

// How separators are drawn at a size: as the face's own, or as shapes beside digits small or not.
enum class Separators { Own, ShapesBesideSmallDigits, ShapesBesideLargeDigits };

Separators separatorsAt(GlyphSource& glyphs, int size, bool shaped) {
  const GlyphInk zero = glyphs.glyph(size, "0").ink;
  const bool small = zero.bottom - zero.top < 10;
  // Beside smoothed digits under ten pixels high, whose grey strokes a solid shape outweighs
  // (the eye, and OCR, take the 3 before it for a 2), the face's own separator stays.
  if (!shaped || (small && glyphs.smoothed(size))) return Separators::Own;
  return small ? Separators::ShapesBesideSmallDigits : Separators::ShapesBesideLargeDigits;
}

Ink inkOf(GlyphSource& glyphs, int size, std::string_view c, Separators separators) {
  Ink ink{glyphs.glyph(size, c).ink, {}};
  GlyphInk& g = ink.glyph;
  const int height = g.bottom - g.top;
  const bool inked = g.right > g.left;
  // Whatever the face's own separators look like, a mark it draws nothing for, or an ellipsis
  // too narrow for three dots, would show the digits as another number ("2.25…" as "225.").
  if (c == "…" && g.right - g.left < 5) {
    // Three dots a column apart, on the digits' lowest row.
    const int x = inked ? g.left : 0;
    ink.shape = {{x, -1, 1, 1}, {x + 2, -1, 1, 1}, {x + 4, -1, 1, 1}};
    g = {std::max(g.advance, x + 6), x, x + 5, -1, 0};
    return ink;
  }
  if (!inked && (c == "." || c == ",")) {
    // A point two pixels square on the baseline; a comma's with a tail below it.
    ink.shape = {{0, -2, 2, 2}};
    if (c == ",") ink.shape.push_back({0, 0, 1, 1});
    g = {std::max(g.advance, 3), 0, 2, -2, c == "," ? 1 : 0};
    return ink;
  }
  if (!inked || separators == Separators::Own) return ink;
  if (c == "," && height <= 4) {
    // A one-pixel stroke or a few grey pixels reads as a point or not at all: a point two pixels
    // square with a tail down to the left in the row below the digits; beside digits ten
    // pixels high or more, the point a row higher and the tail two rows long.
    const int x = g.left;
    if (separators == Separators::ShapesBesideLargeDigits) {
      ink.shape = {{x, -3, 2, 2}, {x + 1, -1, 1, 1}, {x, 0, 1, 1}};
      g.top = -3;
    } else {
      ink.shape = {{x, -2, 2, 2}, {x, 0, 1, 1}};
      g.top = -2;
    }
    g.right = x + 2;
    g.bottom = 1;
    g.advance = std::max(g.advance, x + 3);
  } else if (c == "." && g.right - g.left == 1 && height >= 2) {
    // A point one pixel wide and two high reads as a stroke of a comma: as wide as it is high.
    ink.shape = {{g.left, g.top, 2, height}};
    g.right = g.left + 2;
    g.advance = std::max(g.advance, g.left + 3);
  }
  return ink;
}

// At one size: each character at its advance where that keeps it clear of the ink before, or
// (tight) right after that clear column.
ResultLine placed(GlyphSource& glyphs, int size, const std::vector<std::string_view>& text, int gap,
                  bool tight, bool shaped) {
  ResultLine line{size, {}, 0, true};
  const Separators separators = separatorsAt(glyphs, size, shaped);
  int pen = 0;
  int lastInk = INT_MIN;  // the column after the ink so far
  std::string_view before;
  for (const std::string_view c : text) {
    Ink ink = inkOf(glyphs, size, c, separators);
    const GlyphInk& g = ink.glyph;
    const bool inked = g.right > g.left;
    int origin = pen;
    if (inked && lastInk != INT_MIN) {
      const int clear = lastInk + (isDigit(c) && isDigit(before) ? gap : 2 * gap) - g.left;
      origin = tight ? clear : std::max(origin, clear);
    }
    if (inked && lastInk == INT_MIN) origin = tight ? -g.left : std::max(origin, -g.left);
    line.characters.push_back(
        {std::string(c), origin, std::move(ink.shape), origin + g.left, origin + g.right});
    pen = origin + g.advance;
    if (inked) lastInk = origin + g.right;
    before = c;
    line.width = std::max(line.width, inked ? lastInk : pen);
  }
  return line;
}

}  // namespace

std::string ResultLine::text() const {
  std::string s;
  for (const PlacedCharacter& c : characters) s += c.character;
  return s;
}

ResultLine layOutResult(std::string_view text, int available, int gap, GlyphSource& glyphs) {
  if (text.empty()) return {};  // nothing to measure a glyph for
  const std::vector<std::string_view> characters = charactersOf(text);
  const int smallest = std::max(0, glyphs.sizeCount() - 1);
  // Larger digits read better than a clearer separator: where the separator's shape alone keeps
  // the text from a size, the face's own separator is drawn there.
  for (int size = 0; size <= smallest; ++size) {
    for (const bool shaped : {true, false}) {
      for (const bool tight : {false, true}) {
        ResultLine line = placed(glyphs, size, characters, gap, tight, shaped);
        if (line.width <= available) return line;
      }
    }
  }
  const std::string cut = fitResultText(text, available, [&](std::string_view s) {
    return static_cast<double>(placed(glyphs, smallest, charactersOf(s), gap, true, true).width);
  });
  ResultLine line = placed(glyphs, smallest, charactersOf(cut), gap, true, true);
  line.fits = line.width <= available;
  return line;
}

Glyph makeGlyph(int advance, int left, int top, int width, int height,
                std::vector<std::uint8_t> coverage) {
  Coverage drawn{width, height, -left, -top, std::move(coverage)};
  const PixelRect ink = inkBox(drawn);
  Glyph g{{advance, 0, 0, 0, 0}, left, top, width, height, std::move(drawn.values)};
  if (ink.width > 0) {
    g.ink = {advance, left + ink.left, left + ink.left + ink.width, top + ink.top,
             top + ink.top + ink.height};
  }
  return g;
}

std::vector<std::uint8_t> coverLine(const ResultLine& line, GlyphSource& glyphs, int width,
                                    int height, int left, int baseline) {
  std::vector<std::uint8_t> canvas(
      static_cast<std::size_t>(std::max(width, 0) * std::max(height, 0)), 0);
  // Covers a pixel `a` of 255 over what it has.
  const auto cover = [&](int x, int y, int a) {
    if (a == 0 || x < 0 || x >= width || y < 0 || y >= height) return;
    std::uint8_t& p = canvas[static_cast<std::size_t>(y * width + x)];
    p = static_cast<std::uint8_t>(a + p - (a * p + 127) / 255);
  };
  for (const PlacedCharacter& c : line.characters) {
    const int ox = left + c.origin;
    for (const PixelRect& b : c.shape) {
      for (int y = 0; y < b.height; ++y) {
        for (int x = 0; x < b.width; ++x) cover(ox + b.left + x, baseline + b.top + y, 255);
      }
    }
    if (!c.shape.empty()) continue;
    const Glyph& g = glyphs.glyph(line.size, c.character);
    for (int y = 0; y < g.height; ++y) {
      for (int x = 0; x < g.width; ++x) {
        cover(ox + g.left + x, baseline + g.top + y,
              g.coverage[static_cast<std::size_t>(y * g.width + x)]);
      }
    }
  }
  return canvas;
}

}  // namespace kalvena::ui
