#pragma once

// The program's message box: the system's look (a dialog with the information icon, the text
// and one OK button, modal, Enter and Escape closing it), laid out by the program at the
// window's DPI in the window's face, with its text measured by its ink. The system's own box
// measures its text by extents, which at 96 DPI under Wine cut its last letter.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

namespace kalvena::win32 {

// Shows the box over `owner` and returns once it is closed.
void showMessageBox(HWND owner, const std::wstring& text, const std::wstring& title, HFONT font,
                    int dpi);

}  // namespace kalvena::win32
