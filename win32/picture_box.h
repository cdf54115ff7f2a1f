#pragma once

// The picture boxes: each shows its drawing's bitmap at its top-left corner, unscaled, clipped
// to the box, on a white ground, drawn by code at the window's DPI.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "pictures.h"

namespace kalvena::win32 {

inline constexpr wchar_t kPictureClass[] = L"KalvenaPicture";

// What a picture box shows: its drawing (null: nothing) and its bitmap's size in logical
// pixels.
struct Picture {
  const ui::Drawing* drawing;
  int width;
  int height;
};

void registerPictureClass(HINSTANCE instance);
// A picture box in `parent`, showing `picture`, which lives as long as the box.
HWND createPictureBox(HWND parent, HMENU id, HINSTANCE instance, const Picture* picture);

}  // namespace kalvena::win32
