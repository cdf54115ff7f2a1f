#pragma once

// A window's face on Win32 (its captions, lines and pictures): laid out at the window's DPI,
// painted on a bitmap in one pass, and told to screen readers as the window's parts.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <functional>
#include <optional>

#include "accessible.h"
#include "face.h"
#include "fonts.h"
#include "toolkit.h"

namespace kalvena::win32 {

class FormFace {
 public:
  // Lays out the face of `layout` at `dpi` in `fonts`, and gives `window` its parts.
  void layOut(const ui::FormLayout& layout, int dpi, WindowFonts& fonts, AccessibleInfo& window);
  // Answers WM_PAINT for the window: the face, on the window's ground.
  void paint(HWND window, WindowFonts& fonts);
  // Null where the face could not be laid out.
  const ui::Face* face() const { return face_ ? &*face_ : nullptr; }
  // The captions in the window's own face, at a size in pixels.
  static std::function<HFONT(int)> captionFont(WindowFonts& fonts);

 private:
  std::optional<ui::Face> face_;
  bool pictureless_ = false;  // the face could not be drawn, as noted once
};

}  // namespace kalvena::win32
