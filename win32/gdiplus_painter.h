#pragma once

// The pictures' painter on GDI+, antialiased, scaled from the bitmap's logical pixels to the
// window's DPI, with text in the windows' face. GDI+ is loaded from the system folder when the
// toolkit starts.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "painter.h"
#include "pictures.h"

namespace kalvena::win32 {

// Starts GDI+ (noted among the fallbacks where it cannot be: the pictures then stay blank), and
// ends it.
void startGdiPlus();
void endGdiPlus();

// Draws a drawing on a device context at a DPI: an area of `area` device pixels at the top-left
// corner, white, with the drawing's bitmap (`width` by `height` logical pixels) at its top-left
// corner, clipped to it. False where GDI+ is not running or the area could not be drawn.
bool drawOn(HDC dc, const ui::Drawing& drawing, int width, int height, int dpi, SIZE area);

}  // namespace kalvena::win32
