#include "commands.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>
#include <utility>

#include "toolkit.h"

namespace kalvena::ui {
namespace {

using C = Command;
using P = Place;

// The edits in the words of the system's Bulgarian menus, with the keys that do the same.
constexpr CommandSpec kCommands[] = {
    {C::OpenResponse, kOpenResponseCaption, "Ctrl+R", 'R', false, P::CalculatorWindow,
     Condition::Always},
    {C::CopyPartsList, kCopyPartsListCaption, "Ctrl+Shift+C", 'C', true, P::CalculatorWindow,
     Condition::HasPartsList},
    {C::CopyPlot, nullptr, "Ctrl+C", 'C', false, P::ResponseWindow, Condition::Always},
    {C::OpenDrivers, kOpenDriversCaption, "Ctrl+D", 'D', false, P::ResponseWindow,
     Condition::Always},
    {C::SaveDesign, "Запазване на проекта", "Ctrl+S", 'S', false, P::AnyWindow, Condition::Always},
    {C::OpenDesign, "Отваряне на проект", "Ctrl+O", 'O', false, P::AnyWindow, Condition::Always},
    {C::Undo, "Отмяна", "Ctrl+Z", 'Z', false, std::nullopt, Condition::CanUndo},
    {C::Cut, "Изрязване", "Ctrl+X", 'X', false, std::nullopt, Condition::HasSelection},
    {C::Copy, "Копиране", "Ctrl+C", 'C', false, std::nullopt, Condition::HasSelection},
    {C::Paste, "Поставяне", "Ctrl+V", 'V', false, std::nullopt, Condition::ClipboardHasText},
    {C::Delete, "Изтриване", "Del", 0, false, std::nullopt, Condition::HasSelection},
    {C::SelectAll, "Избиране на всичко", "Ctrl+A", 'A', false, std::nullopt, Condition::HasText},
};

constexpr MenuEntry kPictureMenu[] = {{C::OpenResponse}};
// A result box offers the window's parts list first, above what the box itself offers.
constexpr MenuEntry kResultBoxMenu[] = {{C::CopyPartsList, true}, {C::Copy}, {C::SelectAll}};
constexpr MenuEntry kInputBoxMenu[] = {{C::Undo, true}, {C::Cut},          {C::Copy},
                                       {C::Paste},      {C::Delete, true}, {C::SelectAll}};

// The Latin letter that a shortcut's key bears on a PC keyboard, by the key's scan code: what
// Ctrl with that key means where the layout's letter on it is no Latin one. 0 for a key that no
// shortcut uses.
char letterOfScanCode(int code) {
  constexpr std::pair<int, char> kKeys[] = {{0x13, 'R'}, {0x1E, 'A'}, {0x2C, 'Z'},
                                            {0x2D, 'X'}, {0x2E, 'C'}, {0x2F, 'V'},
                                            {0x20, 'D'}, {0x1F, 'S'}, {0x18, 'O'}};
  for (const auto& [key, letter] : kKeys) {
    if (key == code) return letter;
  }
  return 0;
}

}  // namespace

const CommandSpec& commandSpec(Command command) {
  for (const CommandSpec& spec : kCommands) {
    if (spec.command == command) return spec;
  }
  throw std::logic_error("a command without a row");
}

std::span<const MenuEntry> menuOf(Place place) {
  switch (place) {
    case P::Picture:
      return kPictureMenu;
    case P::ResultBox:
      return kResultBoxMenu;
    case P::InputBox:
      return kInputBoxMenu;
    case P::CalculatorWindow:
    case P::ResponseWindow:
    case P::AnyWindow:
      break;
  }
  return {};
}

char shortcutLetter(const KeyPress& key) {
  if (!key.control || key.alt) return 0;
  if (key.letter >= 'A' && key.letter <= 'Z') return key.letter;
  return letterOfScanCode(key.scanCode);
}

std::optional<Command> commandOfKey(Place place, const KeyPress& key) {
  const char letter = shortcutLetter(key);
  if (letter == 0) return std::nullopt;
  const auto given = [&](const CommandSpec& spec) {
    return spec.letter == letter && spec.shift == key.shift;
  };
  if (place == P::InputBox || place == P::ResultBox) {
    for (const MenuEntry& entry : menuOf(place)) {
      const CommandSpec& spec = commandSpec(entry.command);
      if (!spec.window && given(spec)) return spec.command;
    }
    return std::nullopt;
  }
  for (const CommandSpec& spec : kCommands) {
    const bool offered = spec.window == place || spec.window == P::AnyWindow;
    if (offered && given(spec)) return spec.command;
  }
  return std::nullopt;
}

bool mayRun(Command command, const std::function<bool(Condition)>& holds) {
  return holds(commandSpec(command).enabled);
}

std::string menuText(Command command) {
  const CommandSpec& spec = commandSpec(command);
  return std::string(spec.caption ? spec.caption : "") + "\t" + spec.keys;
}

}  // namespace kalvena::ui
