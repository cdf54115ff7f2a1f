#include "text_box.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <functional>

#include "menus.h"
#include "owned.h"
#include "system_library.h"
#include "utf16.h"

namespace kalvena::win32 {

TextBoxHandle::TextBoxHandle(TextBoxHost& form, AccessibleInfo& accessible, bool output)
    : form_(form), output_(output), accessible_(accessible) {}

void TextBoxHandle::attach(HWND hwnd) {
  hwnd_ = hwnd;
  edit_ = !isOfClass(hwnd_, kResultBoxClass);
  if (!edit_) return;
  // A paste is never cut: the whole text reaches the check.
  SendMessageW(hwnd_, EM_SETLIMITTEXT, 0, 0);
  subclass(hwnd_, inputBoxProc, reinterpret_cast<DWORD_PTR>(this));
}

void setNarrowMargins(HWND edit) {
  SendMessageW(edit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(1, 1));
}

std::wstring windowText(HWND h) {
  std::wstring t(static_cast<std::size_t>(GetWindowTextLengthW(h)) + 1, L'\0');
  t.resize(static_cast<std::size_t>(GetWindowTextW(h, t.data(), static_cast<int>(t.size()))));
  return t;
}

std::string TextBoxHandle::text() const {
  if (pending_) return narrow(*pending_);
  return narrow(windowText(hwnd_));
}

void TextBoxHandle::edit(ui::Command command) {
  // A result box is read-only: it selects and copies, nothing more.
  if (output_) {
    if (command == ui::Command::SelectAll) select(true);
    // The copy takes what is selected, which in a result box is all of it or nothing.
    if (command == ui::Command::Copy && selected_ && !putOnClipboard(hwnd_, windowText(hwnd_))) {
      noteFallback("the clipboard could not be opened for a result");
    }
    return;
  }
  switch (command) {
    case ui::Command::SelectAll:
      SendMessageW(hwnd_, EM_SETSEL, 0, -1);
      break;
    case ui::Command::Copy:
      SendMessageW(hwnd_, WM_COPY, 0, 0);
      break;
    case ui::Command::Cut:
      SendMessageW(hwnd_, WM_CUT, 0, 0);
      break;
    case ui::Command::Paste:
      SendMessageW(hwnd_, WM_PASTE, 0, 0);  // checked before the box takes it
      break;
    case ui::Command::Undo:
      SendMessageW(hwnd_, WM_UNDO, 0, 0);
      break;
    case ui::Command::Delete:
      SendMessageW(hwnd_, WM_CLEAR, 0, 0);
      break;
    default:
      break;
  }
}

bool TextBoxHandle::editByKey(WPARAM key, LPARAM lp) {
  const std::optional<ui::Command> command =
      ui::commandOfKey(output_ ? ui::Place::ResultBox : ui::Place::InputBox, keyPressOf(key, lp));
  if (command) edit(*command);
  return command.has_value();
}

bool TextBoxHandle::holds(ui::Condition condition) const {
  switch (condition) {
    case ui::Condition::Always:
      return true;
    case ui::Condition::HasPartsList:
      return form_.holds(condition);
    case ui::Condition::HasSelection:
      return hasSelection();
    case ui::Condition::CanUndo:
      return !output_ && SendMessageW(hwnd_, EM_CANUNDO, 0, 0) != 0;
    case ui::Condition::ClipboardHasText:
      return IsClipboardFormatAvailable(CF_UNICODETEXT) != 0;
    case ui::Condition::HasText:
      return GetWindowTextLengthW(hwnd_) > 0;
  }
  return false;
}

void TextBoxHandle::contextMenu(POINT at) {
  if (at.x == -1 && at.y == -1) {
    RECT r;
    GetWindowRect(hwnd_, &r);
    at = {r.left, r.bottom};
  }
  const std::span<const ui::MenuEntry> entries =
      ui::menuOf(output_ ? ui::Place::ResultBox : ui::Place::InputBox);
  const OwnedMenu menu = popupMenu(entries, [this](ui::Condition c) { return holds(c); });
  const std::optional<ui::Command> chosen =
      chosenCommand(menu, entries, hwnd_, at, TPM_RIGHTBUTTON | TPM_NONOTIFY);
  if (!chosen) return;
  if (ui::commandSpec(*chosen).window) {
    form_.run(*chosen);
  } else {
    edit(*chosen);
  }
}

bool controlHeld() { return GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_MENU) >= 0; }

ui::KeyPress keyPressOf(WPARAM key, LPARAM lp) {
  return {key >= 'A' && key <= 'Z' ? static_cast<char>(key) : '\0',
          static_cast<int>((lp >> 16) & 0xFF), GetKeyState(VK_CONTROL) < 0,
          GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_MENU) < 0};
}

bool TextBoxHandle::hasSelection() const {
  if (output_) return selected_;
  DWORD start = 0, end = 0;
  SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return start != end;
}

void TextBoxHandle::changed() {
  // Whose Change handler runs, for the message box; the outer box's again after it.
  struct Changing {
    HWND& box;
    HWND outer;
    ~Changing() { box = outer; }
  } changing{form_.changingBox(), form_.changingBox()};
  changing.box = hwnd_;
  if (change_) change_();
}

void TextBoxHandle::setText(std::string_view utf8) {
  pending_.reset();
  const std::wstring text = widen(utf8);
  if (!output_) {
    // EN_CHANGE reaches the window, and so Change, before SetWindowTextW returns.
    SetWindowTextW(hwnd_, text.c_str());
    return;
  }
  if (text == windowText(hwnd_)) return;
  SetWindowTextW(hwnd_, text.c_str());
  select(false);
  InvalidateRect(hwnd_, nullptr, FALSE);
  changed();
}

void TextBoxHandle::select(bool all) {
  if (selected_ == all) return;
  selected_ = all;
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void TextBoxHandle::addHoverText(HWND tooltip) {
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND;  // the box relays its mouse messages itself
  tool.hwnd = GetParent(hwnd_);
  tool.uId = reinterpret_cast<UINT_PTR>(hwnd_);
  tool.lpszText = description_.data();
  SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void TextBoxHandle::relayToHoverText(UINT msg, WPARAM wp, LPARAM lp) {
  MSG m{hwnd_, msg, wp, lp, static_cast<DWORD>(GetMessageTime()), {}};
  GetCursorPos(&m.pt);
  SendMessageW(form_.tooltip(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&m));
}

void TextBoxHandle::setDescription(std::string_view utf8) {
  description_ = widen(utf8);
  if (output_) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = GetParent(hwnd_);
    tool.uId = reinterpret_cast<UINT_PTR>(hwnd_);
    tool.lpszText = description_.data();
    SendMessageW(form_.tooltip(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  accessible_.description = description_;
}

}  // namespace kalvena::win32
