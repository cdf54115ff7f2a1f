#pragma once

// The faces the windows draw with, made at a size in device pixels, and the measures that
// laying a window out takes with them. A text that does not fit is drawn smaller, never
// narrower: a face narrowed by GDI at these sizes runs its letters into each other.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dib.h"
#include "face.h"
#include "owned.h"
#include "result_layout.h"

namespace kalvena::win32 {

// The smallest size in device pixels at which a result's glyphs are drawn smoothed.
constexpr int kSmoothedPixels = 13;

// The installed faces that a window may draw with, the first its own: Arial; else Tahoma, the
// system's dialog face, which Wine brings too and draws clearly without smoothing (added from
// Wine's own folder where the prefix has neither); else Liberation Sans, which has Arial's
// metrics; DejaVu Sans last, for numbers where nothing else keeps them apart. Never empty.
const std::vector<const wchar_t*>& windowFaces();
// The pictures' face: Arial where it is installed, else the metric-compatible Liberation Sans.
const wchar_t* pictureFace();
// The face at a height in device pixels (its em, as a negative LOGFONT height gives it).
HFONT makeFont(const wchar_t* face, int pixels);
int lineSpacing(HFONT font);
int textWidth(HFONT font, std::wstring_view text);
// A label's caption drawn as the label draws it, unclipped, in a room `width` wide, on a
// bitmap, the start of its first baseline at its room's left. Measured text extents are not
// enough: Wine draws unsmoothed text a few per cent wider than its extents say, and a glyph's
// ink may reach past its advance. Nothing where the system gives no bitmap.
ui::Coverage captionCoverage(HFONT font, const std::wstring& caption, int width, bool wraps);
// Whether the digits and separators of a number stand apart in a face at a size, drawn as a
// text box draws them.
bool numbersStandApart(const wchar_t* face, int pixels);

// The faces a window draws with at its DPI, each size made once.
class WindowFonts {
 public:
  explicit WindowFonts(int dpi) : dpi_(dpi) {}
  HFONT font(const wchar_t* face, int pixels);
  // The window's own face at its size.
  HFONT font() { return font(windowFaces().front(), fullPixels()); }
  int fullPixels() const { return MulDiv(ui::kFontPixels, dpi_, 96); }
  int smallestPixels() const { return ui::smallestPixels(fullPixels()); }

  struct Sized {
    const wchar_t* face;
    int pixels;
  };
  // The face and size of the input boxes: the first face, at the window's size or the largest
  // below it, whose number characters stand apart (ui::largestFitting).
  Sized inputFace() const;

 private:
  int dpi_;
  std::map<std::pair<const wchar_t*, int>, Gdi<HFONT>> fonts_;  // by face and size
};

// A face at its sizes from a largest down to a smallest, which a result box's text is laid out
// in (ui::layOutResult) and drawn with a character at a time. The glyphs are the face's own,
// smoothed from kSmoothedPixels up whatever the system's setting (a crisp glyph of that size
// has steps and gaps that make a 9 read as a 3), and crisp below it (smoothed, a stroke spreads
// over two grey columns and a digit's bowl opens).
class SpacedFace final : public ui::GlyphSource {
 public:
  // gap: a clear column's width in pixels at the window's DPI.
  SpacedFace(const wchar_t* face, int largest, int smallest, int gap);
  ui::ResultLine layOut(std::string_view utf8, int width) {
    return ui::layOutResult(utf8, width, gap_, *this);
  }
  // Draws a laid-out text with its room's start at `left` and its baseline at `baseline`, in
  // `ink` over `ground`, within `room` of the device context.
  void draw(HDC dc, const RECT& room, int left, int baseline, const ui::ResultLine& line,
            COLORREF ink, COLORREF ground);
  // The largest font, whose line the text keeps at every size (its baseline and height), and
  // that line's measures.
  HFONT largest() const { return fonts_.front()->get(); }
  const TEXTMETRICW& line() const { return line_; }

  int sizeCount() const override { return static_cast<int>(fonts_.size()); }
  const ui::Glyph& glyph(int size, std::string_view character) override;
  bool smoothed(int size) const override { return smoothed_[static_cast<std::size_t>(size)]; }

 private:
  const ui::Glyph& glyphOf(std::size_t size, wchar_t c);

  std::vector<std::unique_ptr<Gdi<HFONT>>> fonts_;    // largest first
  std::vector<std::map<wchar_t, ui::Glyph>> glyphs_;  // made on first use
  std::vector<bool> smoothed_;
  TEXTMETRICW line_{};
  int gap_;
};

}  // namespace kalvena::win32
