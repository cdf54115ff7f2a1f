// Which key does what, decided once for both toolkits: by the layout's Latin letter, or by the
// physical key where the layout gives none (a Bulgarian layout alone); never with AltGr.
#include "commands.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>

namespace kalvena::ui {
namespace {

using C = Command;
using P = Place;

TEST(Commands, EachKeyGivesItsCommandWhereItIsOffered) {
  struct Row {
    const char* what;
    P place;
    KeyPress key;
    std::optional<C> command;
  };
  const KeyPress ctrl{.control = true};
  const auto latin = [&](char letter, bool shift = false) {
    KeyPress k = ctrl;
    k.letter = letter;
    k.shift = shift;
    return k;
  };
  // A Cyrillic letter on the key: no Latin letter, only the scan code (set 1).
  const auto physical = [&](int scanCode, bool shift = false) {
    KeyPress k = ctrl;
    k.scanCode = scanCode;
    k.shift = shift;
    return k;
  };
  const Row rows[] = {
      {"Ctrl+R", P::CalculatorWindow, latin('R'), C::OpenResponse},
      {"Ctrl+R, Bulgarian", P::CalculatorWindow, physical(0x13), C::OpenResponse},
      {"Ctrl+Shift+C", P::CalculatorWindow, latin('C', true), C::CopyPartsList},
      {"Ctrl+Shift+C, Bulgarian", P::CalculatorWindow, physical(0x2E, true), C::CopyPartsList},
      {"Ctrl+C is a box's", P::CalculatorWindow, latin('C'), std::nullopt},
      {"Ctrl+C in the response window", P::ResponseWindow, physical(0x2E), C::CopyPlot},
      {"Ctrl+R is not the response window's", P::ResponseWindow, latin('R'), std::nullopt},
      {"Ctrl+V, Bulgarian", P::InputBox, physical(0x2F), C::Paste},
      {"Ctrl+Z", P::InputBox, latin('Z'), C::Undo},
      {"Ctrl+X, Bulgarian", P::InputBox, physical(0x2D), C::Cut},
      {"Ctrl+A, Bulgarian", P::InputBox, physical(0x1E), C::SelectAll},
      {"Ctrl+Shift+C is the window's", P::InputBox, latin('C', true), std::nullopt},
      {"a result box copies", P::ResultBox, physical(0x2E), C::Copy},
      {"a result box takes no paste", P::ResultBox, latin('V'), std::nullopt},
      {"a result box takes no cut", P::ResultBox, physical(0x2D), std::nullopt},
      {"AltGr types", P::InputBox, KeyPress{'V', 0x2F, true, false, true}, std::nullopt},
      {"without Ctrl a letter types", P::InputBox, KeyPress{'V', 0x2F}, std::nullopt},
      {"a key no shortcut uses", P::CalculatorWindow, physical(0x10), std::nullopt},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(commandOfKey(row.place, row.key), row.command) << row.what;
  }
  // With no result the parts list is not copied: the clipboard keeps what it has.
  const auto noResult = [](Condition c) { return c == Condition::Always; };
  EXPECT_FALSE(mayRun(C::CopyPartsList, noResult));
  EXPECT_TRUE(mayRun(C::OpenResponse, noResult));
}

// Every menu item has a caption and keys; every key a command has is reached through its
// physical key too; a command's key is offered in one place only.
TEST(Commands, EveryMenuItemAndKeyIsDeclaredOnce) {
  std::set<std::string> texts;
  for (const P place : {P::InputBox, P::ResultBox, P::Picture}) {
    ASSERT_FALSE(menuOf(place).empty());
    for (const MenuEntry& entry : menuOf(place)) {
      const CommandSpec& spec = commandSpec(entry.command);
      ASSERT_NE(spec.caption, nullptr);
      EXPECT_EQ(menuText(entry.command), std::string(spec.caption) + "\t" + spec.keys);
      texts.insert(menuText(entry.command));
    }
  }
  EXPECT_EQ(texts.count("Копирай списъка с части\tCtrl+Shift+C"), 1u);
  EXPECT_EQ(texts.count("Честотна характеристика на трите ленти\tCtrl+R"), 1u);
  // The scan codes of a PC keyboard's letters, set 1.
  const std::pair<char, int> keys[] = {{'A', 0x1E}, {'C', 0x2E}, {'R', 0x13},
                                       {'V', 0x2F}, {'X', 0x2D}, {'Z', 0x2C}};
  for (const auto& [letter, code] : keys) {
    EXPECT_EQ(shortcutLetter(KeyPress{0, code, true}), letter);
  }
}

}  // namespace
}  // namespace kalvena::ui
