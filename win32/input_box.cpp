// What an input box does in front of its EDIT control, and what a button does in front of its
// BUTTON: each a subclass procedure of its own.

#include <windowsx.h>

#include <algorithm>

#include "accessible.h"
#include "system_library.h"
#include "text_box.h"
#include "utf16.h"

namespace kalvena::win32 {

bool TextBoxHandle::rejectsInsertion(std::wstring_view inserted) {
  if (!accepts_) return false;
  std::wstring t = windowText(hwnd_);
  DWORD start = 0, end = 0;
  SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  start = std::min<DWORD>(start, static_cast<DWORD>(t.size()));
  end = std::clamp<DWORD>(end, start, static_cast<DWORD>(t.size()));
  t.replace(start, end - start, inserted);
  if (accepts_(narrow(t))) return false;
  // The window's Change handler reads the text it would have had, and rejects it as it
  // rejects any other: it empties the box and shows the message.
  pending_ = std::move(t);
  changed();
  pending_.reset();
  return true;
}

bool TextBoxHandle::handlesItself(UINT msg, WPARAM wp, LPARAM lp) {
  // A key with Ctrl acts, here by its letter.
  const bool control = controlHeld();
  if (control && msg == WM_CHAR) return true;
  if (control && msg == WM_KEYDOWN) return editByKey(wp, lp);
  // The context menu's paste, Ctrl+V's character from a program, and Shift+Insert (which Wine's
  // EDIT pastes directly).
  const bool paste = msg == WM_PASTE || (msg == WM_CHAR && wp == 0x16) ||
                     (msg == WM_KEYDOWN && wp == VK_INSERT && GetKeyState(VK_SHIFT) < 0 &&
                      GetKeyState(VK_CONTROL) >= 0);
  if (paste) return rejectsInsertion(clipboardText(hwnd_));
  if (msg == WM_CHAR && wp >= 0x20 && wp != 0x7F) {
    // Control characters edit (Backspace) and pass as they are.
    const wchar_t typed = static_cast<wchar_t>(wp);
    return rejectsInsertion(std::wstring_view(&typed, 1));
  }
  return false;
}

LRESULT CALLBACK inputBoxProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  auto* box = reinterpret_cast<TextBoxHandle*>(data);
  if (msg == WM_CONTEXTMENU) {
    box->contextMenu({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
    return 0;
  }
  if (box->handlesItself(msg, wp, lp)) return 0;
  return describedNext(h, msg, wp, lp, inputBoxProc);
}

LRESULT CALLBACK buttonProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
  return describedNext(h, msg, wp, lp, buttonProc);
}

}  // namespace kalvena::win32
