#pragma once

// The clipboard: its text, and a text or a bitmap put on it.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>
#include <string_view>

#include "dib.h"

namespace kalvena::win32 {

// The clipboard's text; empty when it holds none.
std::wstring clipboardText(HWND owner);
// Puts a text on the clipboard, its lines ended as Windows ends them; false where the clipboard
// could not be had.
bool putOnClipboard(HWND owner, std::wstring_view text);
// Puts a bitmap on the clipboard as CF_DIB; false where the clipboard could not be had.
bool putBitmapOnClipboard(HWND owner, const Dib& dib);

}  // namespace kalvena::win32
