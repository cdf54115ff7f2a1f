#pragma once

// The painter on Win32: a bitmap of device pixels, GDI+ for the drawings' shapes and texts
// (antialiased, a view scaled to the window's DPI), GDI for the captions in the window's face.
// GDI+ is loaded from the system folder when the toolkit starts.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <functional>

#include "dib.h"
#include "gdiplus_api.h"
#include "painter.h"
#include "pictures.h"

namespace kalvena::win32 {

// Gives `use` a painter on a bitmap of `size` device pixels filled with `ground`, and the
// bitmap, to copy where it belongs. Captions are drawn in captionFont(pixels). False where GDI+
// is not running (captions and fills are drawn still) or there is no bitmap (nothing is).
bool withPainter(SIZE size, COLORREF ground, const std::function<HFONT(int)>& captionFont,
                 const std::function<void(ui::Painter&, const Dib&)>& use);

// Draws a drawing on a device context at a DPI: an area of `area` device pixels at the top-left
// corner, white, with the drawing's bitmap (`width` by `height` logical pixels) at its top-left
// corner, clipped to it. False where GDI+ is not running or the area could not be drawn.
bool drawOn(HDC dc, const ui::Drawing& drawing, int width, int height, int dpi, SIZE area);

}  // namespace kalvena::win32
