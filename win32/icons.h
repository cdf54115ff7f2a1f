#pragma once

// The program's sun on a window, at the sizes the system asks for at the window's DPI.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <array>

#include "owned.h"

namespace kalvena::win32 {

// Gives the window its title bar's and task switcher's icons (small, big), each the size the
// system asks for at `dpi`, which the icon file holds drawn at that size; kept in `icons`. One
// that cannot be loaded is noted among the fallbacks.
void setWindowIcons(HWND window, HINSTANCE instance, int dpi, std::array<OwnedIcon, 2>& icons);

}  // namespace kalvena::win32
