#pragma once

// The system's file dialogs (comdlg32, loaded from the system folder when first needed) and the
// question before a changed design is lost.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "toolkit.h"

namespace kalvena::win32 {

// The path chosen (UTF-8), nothing where the user cancelled or the dialog could not be shown
// (noted).
std::optional<std::string> askFileName(HWND owner, const ui::FileQuestion& question);
// The system's question box with Yes (save), No (don't save) and Cancel.
ui::SaveAnswer askToSave(HWND owner, std::string_view text, std::string_view title);

}  // namespace kalvena::win32
