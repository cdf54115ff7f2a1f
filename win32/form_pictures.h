#pragma once

// What a calculator window does with its pictures, which its face draws: where they lie, their
// context menu and hover texts, which open the response window, and the focus rectangle of the
// one whose place in the tab order has the focus.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <functional>
#include <string>

#include "commands.h"
#include "face.h"

namespace kalvena::win32 {

// The pictures' context menu at the point on the screen that WM_CONTEXTMENU gives (not from
// the keyboard): the item chosen is handed to `run`. False where no picture lies there.
bool pictureMenu(HWND form, const ui::Face* face, LPARAM lp,
                 const std::function<void(ui::Command)>& run);

// Gives each picture its hover text, `text`, which must live as long as the hover-text control.
void addPictureTips(HWND form, HWND tooltip, const ui::Face* face, std::wstring& text);

// Draws the focus rectangle around the picture whose place in the tab order has the focus.
void drawPictureFocus(HWND form);

}  // namespace kalvena::win32
