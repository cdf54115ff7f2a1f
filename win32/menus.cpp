#include "menus.h"

#include <string>

#include "system_library.h"
#include "utf16.h"

namespace kalvena::win32 {

OwnedMenu popupMenu(std::span<const ui::MenuEntry> entries,
                    const std::function<bool(ui::Condition)>& holds) {
  OwnedMenu menu(CreatePopupMenu());
  if (!menu.get()) {
    noteFallback("a context menu could not be made");
    return menu;
  }
  UINT id = 0;
  for (const ui::MenuEntry& entry : entries) {
    const ui::CommandSpec& spec = ui::commandSpec(entry.command);
    // The keys stand in their column two spaces in: the system leaves only the menu face's
    // average character between the longest caption and that column, which Wine's narrow faces
    // (a prefix without Tahoma) turn into no room at all ("всичкоCtrl+A").
    std::wstring text = widen(ui::menuText(entry.command));
    if (const std::size_t tab = text.find(L'\t'); tab != std::wstring::npos) {
      text.insert(tab + 1, L"  ");
    }
    const UINT state = holds(spec.enabled) ? MF_STRING : MF_STRING | MF_GRAYED;
    AppendMenuW(menu.get(), state, ++id, text.c_str());
    if (entry.separatorAfter) AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
  }
  return menu;
}

std::optional<ui::Command> chosenCommand(const OwnedMenu& menu,
                                         std::span<const ui::MenuEntry> entries, HWND owner,
                                         POINT at, UINT flags) {
  const auto chosen = static_cast<std::size_t>(
      TrackPopupMenu(menu.get(), TPM_RETURNCMD | flags, at.x, at.y, 0, owner, nullptr));
  if (chosen == 0 || chosen > entries.size()) return std::nullopt;
  return entries[chosen - 1].command;
}

}  // namespace kalvena::win32
