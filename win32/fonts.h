#pragma once

// The windows' face at a DPI and a width, and the measures that laying a window out takes with
// it: Arial where it is installed, else the metric-compatible Liberation Sans (as under Wine).

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>
#include <string_view>

namespace kalvena::win32 {

constexpr int kFontPixels = 11;  // at 96 DPI, as on Linux
// The face's widths, per cent of its normal width, from the normal to the narrowest that a
// caption or a result may take where the normal does not fit. Result boxes start narrower.
constexpr int kStretches[] = {100, 95, 90, 85, 80, 75, 70};
constexpr int kOutputStretch = 85;
// The widest result that a box must show whole: nine characters (Arial's digits are all as wide).
constexpr wchar_t kWidestResult[] = L"000000.00";

// Owns a GDI object.
template <class Handle>
class Gdi {
 public:
  Gdi() = default;
  explicit Gdi(Handle h) : h_(h) {}
  Gdi(const Gdi&) = delete;
  Gdi& operator=(const Gdi&) = delete;
  Gdi& operator=(Handle h) {
    if (h_) DeleteObject(h_);
    h_ = h;
    return *this;
  }
  ~Gdi() {
    if (h_) DeleteObject(h_);
  }
  Handle get() const { return h_; }

 private:
  Handle h_ = nullptr;
};

// Arial where it is installed, else the metric-compatible Liberation Sans (as under Wine).
const wchar_t* fontFace();
HFONT makeFont(int dpi, int stretch);
int lineSpacing(HFONT font);
int textWidth(HFONT font, std::wstring_view text);
// The rectangle that a label's caption inks, from the top-left of a room `width` wide: the
// caption drawn as the label draws it, unclipped, on a bitmap, and its ink found. Measured
// text extents are not enough: Wine draws unsmoothed text a few per cent wider than its
// extents say, and a glyph's ink may reach past its advance.
RECT captionInk(HFONT font, const std::wstring& caption, int width, bool wraps);

}  // namespace kalvena::win32
