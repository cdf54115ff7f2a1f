#pragma once

// What the Win32 tests reach inside a loaded window, through what the window shows them.

#include <string>
#include <string_view>

#include "form_window.h"
#include "text_box.h"
#include "toolkit.h"
#include "utf16.h"

namespace kalvena::win32 {

// The top-level window of a loaded window; null while the window is not loaded.
inline HWND hwndOf(const ui::Window& window) { return formHwnd(window.native()); }
// A control of a loaded window by its name in the layout table; null when there is none.
inline HWND controlOf(const ui::Window& window, std::string_view name) {
  const auto inside = insideOf(window.native());
  return inside ? inside->control(name) : nullptr;
}
// The layout that a loaded window was built from; null while the window is not loaded.
inline const ui::FormLayout* layoutOf(const ui::Window& window) {
  const auto inside = insideOf(window.native());
  return inside ? inside->layout : nullptr;
}
// The face that a loaded window paints, and the font its captions take at a size in pixels.
inline const ui::Face* faceOf(const ui::Window& window) {
  const auto inside = insideOf(window.native());
  return inside ? inside->face : nullptr;
}
inline HFONT captionFontOf(const ui::Window& window, int pixels) {
  const auto inside = insideOf(window.native());
  return inside ? inside->captionFont(pixels) : nullptr;
}
// The response window of a loaded window where it has been opened; null otherwise.
inline ResponseWindow* responseOf(const ui::Window& window) {
  const auto inside = insideOf(window.native());
  return inside ? inside->response : nullptr;
}
// What a result box draws of its text (UTF-8): all of it, or, where it is too wide for the
// box, its beginning and its end with "…" between.
inline std::string shownTextOf(HWND box) { return narrow(shownTextIn(box)); }

}  // namespace kalvena::win32
