#pragma once

// Every shortcut and menu item of the program, declared once: what it does, its caption and
// keys, where it is offered and when it is enabled. A toolkit hands over the key it saw and
// draws the menus it is given; which key does what is decided here.

#include <functional>
#include <optional>
#include <span>
#include <string>

namespace kalvena::ui {

enum class Command {
  OpenResponse,   // the response window, opened or brought to the front
  CopyPartsList,  // the window's parts list on the clipboard
  CopyPlot,       // the response plot on the clipboard, as an image
  OpenDrivers,    // the drivers' panel, opened or brought to the front
  SaveDesign,     // the whole design into a file
  OpenDesign,     // a design from a file
  Undo,
  Cut,
  Copy,
  Paste,
  Delete,
  SelectAll,
};

// Where a command is offered: a window's keys reach it from any of its controls; a box's keys
// and menu are the box's own; a picture has a menu.
// AnyWindow: the keys of every window (a design is saved and opened from any); the drivers'
// panel takes the keys of a calculator window.
enum class Place { CalculatorWindow, ResponseWindow, InputBox, ResultBox, Picture, AnyWindow };

// What must hold for a command to be enabled, asked of the toolkit when it draws a menu.
enum class Condition { Always, HasPartsList, HasSelection, CanUndo, ClipboardHasText, HasText };

// A command, once: its caption in a menu (null where no menu shows it), the keys a menu shows
// for it, its key's Latin letter, pressed with Ctrl (and Shift where `shift`; 0 where it has no
// such key), the window whose keys it is (null: the key is a box's, where the box's menu offers
// the command), and when it is enabled.
struct CommandSpec {
  Command command;
  const char* caption;
  const char* keys;
  char letter;
  bool shift;
  std::optional<Place> window;
  Condition enabled;
};
const CommandSpec& commandSpec(Command command);

// An item of a place's menu, and whether a line follows it.
struct MenuEntry {
  Command command;
  bool separatorAfter = false;
};
std::span<const MenuEntry> menuOf(Place place);

// A key as a toolkit saw it: the Latin letter its layout gives it (0 where the layout's is not
// one, as on a Bulgarian layout), its physical key's scan code (set 1, as Windows and the Linux
// kernel number the keys), and the modifiers held.
struct KeyPress {
  char letter = 0;
  int scanCode = 0;
  bool control = false;
  bool shift = false;
  bool alt = false;  // with Ctrl, AltGr, which types
};

// The Latin letter a key means for a shortcut: its layout's where that is Latin, else the
// letter its physical key bears on a PC keyboard; 0 where neither, or without Ctrl, or with Alt.
char shortcutLetter(const KeyPress& key);

// The command a key gives in a place; nothing where none. A box's keys are those of its menu's
// commands that are a box's; the toolkit asks for the box, then, where it gives none, for the
// window.
std::optional<Command> commandOfKey(Place place, const KeyPress& key);

// What a window does with its own commands, and whether a condition of theirs holds now.
struct WindowCommands {
  std::function<bool(Condition)> holds;
  std::function<void(Command)> run;
};

// A command runs only where its condition holds, from a key as from a menu: Ctrl+Shift+C with
// no result leaves the clipboard as it was.
bool mayRun(Command command, const std::function<bool(Condition)>& holds);

// A menu item's text as Windows writes it: the caption, a tab, the keys.
std::string menuText(Command command);

}  // namespace kalvena::ui
