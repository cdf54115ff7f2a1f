#pragma once

// A context menu as the windows' code gives it, made native: one item a command, its id its
// place in the menu counted from 1.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <functional>
#include <optional>
#include <span>

#include "commands.h"
#include "owned.h"

namespace kalvena::win32 {

// The popup menu of the entries, each item enabled where its condition holds; no menu (noted)
// where the system gives none.
OwnedMenu popupMenu(std::span<const ui::MenuEntry> entries,
                    const std::function<bool(ui::Condition)>& holds);
// Shows a menu that popupMenu made of the entries at a point of the screen, for `owner`, with
// TrackPopupMenu's `flags` besides TPM_RETURNCMD, and gives the command chosen; nothing where
// none was.
std::optional<ui::Command> chosenCommand(const OwnedMenu& menu,
                                         std::span<const ui::MenuEntry> entries, HWND owner,
                                         POINT at, UINT flags);

}  // namespace kalvena::win32
