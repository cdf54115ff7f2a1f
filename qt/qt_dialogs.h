#pragma once

// The modal dialogs a window opens on Qt: the file dialog and the question before a changed
// design is lost.

#include <optional>
#include <string>
#include <string_view>

#include "toolkit.h"

class QWidget;

namespace kalvena::qt {

std::optional<std::string> askFileName(QWidget* over, const ui::FileQuestion& question);
ui::SaveAnswer askToSave(QWidget* over, std::string_view text, std::string_view title);

}  // namespace kalvena::qt
