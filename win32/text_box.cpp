#include "text_box.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <functional>

#include "owned.h"
#include "system_library.h"
#include "win32_toolkit.h"

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

bool TextBoxHandle::edit(wchar_t letter) {
  if (std::wstring_view(L"ACXVZ").find(letter) == std::wstring_view::npos) return false;
  // A result box is read-only: it selects and copies, nothing more.
  if (output_) {
    if (letter == L'A') select(true);
    // The copy takes what is selected, which in a result box is all of it or nothing.
    if (letter == L'C' && selected_ && !putOnClipboard(hwnd_, windowText(hwnd_))) {
      noteFallback("the clipboard could not be opened for a result");
    }
    return true;
  }
  switch (letter) {
    case L'A':
      SendMessageW(hwnd_, EM_SETSEL, 0, -1);
      break;
    case L'C':
      SendMessageW(hwnd_, WM_COPY, 0, 0);
      break;
    case L'X':
      SendMessageW(hwnd_, WM_CUT, 0, 0);
      break;
    case L'V':
      SendMessageW(hwnd_, WM_PASTE, 0, 0);  // checked before the box takes it
      break;
    default:
      SendMessageW(hwnd_, WM_UNDO, 0, 0);
      break;
  }
  return true;
}

void TextBoxHandle::contextMenu(POINT at) {
  // The edits are numbered by the letters of their keys.
  enum : UINT { kCopyList = 1, kDelete };
  if (at.x == -1 && at.y == -1) {
    RECT r;
    GetWindowRect(hwnd_, &r);
    at = {r.left, r.bottom};
  }
  const bool selected = hasSelection();
  const OwnedMenu owned(CreatePopupMenu());
  HMENU menu = owned.get();
  // The keys stand in their column two spaces in: the system leaves only the menu face's
  // average character between the longest caption and that column, which Wine's narrow faces
  // (a prefix without Tahoma) turn into no room at all ("всичкоCtrl+A").
  const auto item = [menu](bool on, UINT id, std::wstring caption) {
    if (const std::size_t tab = caption.find(L'\t'); tab != std::wstring::npos) {
      caption.insert(tab + 1, L"  ");
    }
    AppendMenuW(menu, static_cast<UINT>(on ? MF_STRING : MF_STRING | MF_GRAYED), id,
                caption.c_str());
  };
  // In the words of the system's Bulgarian menus, with the keys that do the same.
  if (output_) {
    item(form_.hasPartsList(), kCopyList, widen(ui::kCopyPartsListCaption) + L"\tCtrl+Shift+C");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    item(selected, L'C', L"Копиране\tCtrl+C");
  } else {
    item(SendMessageW(hwnd_, EM_CANUNDO, 0, 0) != 0, L'Z', L"Отмяна\tCtrl+Z");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    item(selected, L'X', L"Изрязване\tCtrl+X");
    item(selected, L'C', L"Копиране\tCtrl+C");
    item(IsClipboardFormatAvailable(CF_UNICODETEXT) != 0, L'V', L"Поставяне\tCtrl+V");
    item(selected, kDelete, L"Изтриване\tDel");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  }
  item(GetWindowTextLengthW(hwnd_) > 0, L'A', L"Избиране на всичко\tCtrl+A");
  const UINT chosen = static_cast<UINT>(TrackPopupMenu(
      menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, hwnd_, nullptr));
  if (chosen == kCopyList) {
    form_.copyPartsList();
  } else if (chosen == kDelete) {
    SendMessageW(hwnd_, WM_CLEAR, 0, 0);
  } else {
    edit(static_cast<wchar_t>(chosen));
  }
}

namespace {

// Another program may hold the clipboard for a moment (Wine's own clipboard manager does,
// each time the clipboard changes, to offer it to X): ask again for a fifth of a second.
bool openClipboard(HWND owner) {
  for (int attempt = 0; attempt < 20; ++attempt) {
    if (OpenClipboard(owner)) return true;
    Sleep(10);
  }
  return false;
}

}  // namespace

std::wstring clipboardText(HWND owner) {
  std::wstring text;
  if (!openClipboard(owner)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = chars;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

namespace {

// Puts `bytes` bytes that `fill` writes on the clipboard in a format; false where it could not.
bool putOnClipboard(HWND owner, UINT format, std::size_t bytes,
                    const std::function<void(unsigned char*)>& fill) {
  HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!data) return false;
  auto* memory = static_cast<unsigned char*>(GlobalLock(data));
  if (!memory || !openClipboard(owner)) {
    if (memory) GlobalUnlock(data);
    GlobalFree(data);
    return false;
  }
  fill(memory);
  GlobalUnlock(data);
  EmptyClipboard();
  const bool given = SetClipboardData(format, data) != nullptr;
  if (!given) GlobalFree(data);  // the clipboard took it only where it says so
  CloseClipboard();
  return given;
}

}  // namespace

bool putOnClipboard(HWND owner, std::wstring_view text) {
  std::wstring lines;
  for (const wchar_t c : text) {
    if (c == L'\n') lines.push_back(L'\r');
    lines.push_back(c);
  }
  return putOnClipboard(owner, CF_UNICODETEXT, (lines.size() + 1) * sizeof(wchar_t),
                        [&](unsigned char* bytes) {
                          std::memcpy(bytes, lines.c_str(), (lines.size() + 1) * sizeof(wchar_t));
                        });
}

bool putBitmapOnClipboard(HWND owner, const Dib& dib) {
  // A device-independent bitmap of 32-bit pixels, its bottom row first.
  BITMAPINFOHEADER header{sizeof header, dib.width(), dib.height(), 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  const std::size_t row = static_cast<std::size_t>(dib.width()) * 4;
  const auto rows = static_cast<std::size_t>(dib.height());
  GdiFlush();
  return putOnClipboard(owner, CF_DIB, sizeof header + row * rows, [&](unsigned char* bytes) {
    std::memcpy(bytes, &header, sizeof header);
    for (std::size_t y = 0; y < rows; ++y) {
      std::memcpy(bytes + sizeof header + row * (rows - 1 - y),
                  dib.pixels() + y * static_cast<std::size_t>(dib.width()), row);
    }
  });
}

bool controlHeld() { return GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_MENU) >= 0; }

wchar_t shortcutLetter(WPARAM key, LPARAM lp) {
  if (key >= 'A' && key <= 'Z') return static_cast<wchar_t>(key);
  return static_cast<wchar_t>(ui::shortcutLetterOfScanCode(static_cast<int>((lp >> 16) & 0xFF)));
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
