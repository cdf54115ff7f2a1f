#pragma once

// The picture boxes: each shows its drawing's bitmap at its top-left corner, unscaled, clipped
// to the box, at 1x below 192 DPI and 2x from there. The bitmaps are PNG resources of the
// program, decoded by GDI+.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string_view>

namespace kalvena::win32 {

inline constexpr wchar_t kPictureClass[] = L"KalvenaPicture";

// Starts GDI+ for the pictures (noted among the fallbacks where it cannot be), and ends it.
void startPictures();
void endPictures();
void registerPictureClass(HINSTANCE instance);
// Gives a picture box the bitmap of the drawing `image` for a DPI.
void setPicture(HINSTANCE instance, HWND box, std::string_view image, int dpi);

}  // namespace kalvena::win32
