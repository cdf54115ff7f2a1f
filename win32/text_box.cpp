#include "text_box.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "check_number.h"
#include "result_text.h"
#include "win32_toolkit.h"

namespace kalvena::win32 {

namespace {

// Where a box's EDIT draws its text.
RECT formatOf(HWND box) {
  RECT format{};
  SendMessageW(box, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
  return format;
}

// What a result box shows of its text, laid out on its window's spaced face.
ui::ResultLine shownResult(HWND box, SpacedFace& face, const RECT& format) {
  return face.layOut(narrow(windowText(box)), format.right - format.left);
}

// A result box is painted by its EDIT control, frame and all; then its text is drawn again by
// the program over the EDIT's, inside the frame, a character at a time, so that no digit's ink
// touches its neighbour's. It keeps the baseline of the box's own font at every size.
void drawResult(HWND box, SpacedFace& face) {
  const RECT format = formatOf(box);
  const ui::ResultLine shown = shownResult(box, face, format);
  HDC dc = GetDC(box);
  // The window gives the colours and the ground of a read-only box.
  auto ground = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(box), WM_CTLCOLORSTATIC,
                                                      reinterpret_cast<WPARAM>(dc),
                                                      reinterpret_cast<LPARAM>(box)));
  // Where the EDIT draws, inside the frame that the EDIT draws itself.
  RECT inside{};
  GetClientRect(box, &inside);
  InflateRect(&inside, -1, -1);
  IntersectRect(&inside, &inside, &format);
  HGDIOBJ old = SelectObject(dc, face.largest());
  TEXTMETRICW line{};
  GetTextMetricsW(dc, &line);
  SelectObject(dc, old);
  LOGBRUSH groundColour{};
  GetObjectW(ground, sizeof groundColour, &groundColour);
  COLORREF inkColour = GetSysColor(COLOR_WINDOWTEXT), groundBehind = groundColour.lbColor;
  RECT room = inside;
  DWORD start = 0, end = 0;
  SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  if (start != end && GetFocus() == box && !shown.characters.empty()) {
    // A selection of any part marks all that is shown, as a copy takes what is selected.
    FillRect(dc, &inside, ground);
    room.right = std::min(inside.right, format.left + shown.width + 1);
    inkColour = GetSysColor(COLOR_HIGHLIGHTTEXT);
    groundBehind = GetSysColor(COLOR_HIGHLIGHT);
  }
  face.draw(dc, room, format.left, format.top + line.tmAscent, shown, inkColour, groundBehind);
  ReleaseDC(box, dc);
}

}  // namespace

void setNarrowMargins(HWND edit) {
  SendMessageW(edit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(1, 1));
}

std::wstring windowText(HWND h) {
  std::wstring t(static_cast<std::size_t>(GetWindowTextLengthW(h)) + 1, L'\0');
  t.resize(static_cast<std::size_t>(GetWindowTextW(h, t.data(), static_cast<int>(t.size()))));
  return t;
}

std::wstring shownTextIn(HWND box) {
  const auto* data = reinterpret_cast<const ControlData*>(GetWindowLongPtrW(box, GWLP_USERDATA));
  if (!data || !data->box || !data->box->isOutput()) return windowText(box);
  return widen(shownResult(box, data->box->resultFace(), formatOf(box)).text());
}

std::string TextBoxHandle::text() const {
  if (pending_) return narrow(*pending_);
  return narrow(windowText(hwnd_));
}

bool TextBoxHandle::rejectsInsertion(std::wstring_view inserted) {
  std::wstring t = windowText(hwnd_);
  DWORD start = 0, end = 0;
  SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  start = std::min<DWORD>(start, static_cast<DWORD>(t.size()));
  end = std::clamp<DWORD>(end, start, static_cast<DWORD>(t.size()));
  t.replace(start, end - start, inserted);
  if (inputFieldValue(narrow(t))) return false;
  // The window's Change handler reads the text it would have had, and rejects it as it
  // rejects any other: it empties the box and shows the message.
  pending_ = std::move(t);
  changed();
  pending_.reset();
  return true;
}

bool TextBoxHandle::edit(wchar_t letter) {
  if (std::wstring_view(L"ACXVZ").find(letter) == std::wstring_view::npos) return false;
  // A result box is read-only: it selects and copies, nothing more.
  if (output_ && letter != L'A' && letter != L'C') return true;
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
  DWORD start = 0, end = 0;
  SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  const bool selected = start != end;
  HMENU menu = CreatePopupMenu();
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
  DestroyMenu(menu);
  if (chosen == kCopyList) {
    form_.copyPartsList();
  } else if (chosen == kDelete) {
    SendMessageW(hwnd_, WM_CLEAR, 0, 0);
  } else {
    edit(static_cast<wchar_t>(chosen));
  }
}

std::wstring clipboardText(HWND owner) {
  std::wstring text;
  if (!OpenClipboard(owner)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = chars;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

bool putOnClipboard(HWND owner, std::wstring_view text) {
  std::wstring lines;
  for (const wchar_t c : text) {
    if (c == L'\n') lines.push_back(L'\r');
    lines.push_back(c);
  }
  const std::size_t bytes = (lines.size() + 1) * sizeof(wchar_t);
  HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!data) return false;
  if (auto* chars = static_cast<wchar_t*>(GlobalLock(data))) {
    std::copy(lines.c_str(), lines.c_str() + lines.size() + 1, chars);
    GlobalUnlock(data);
  }
  if (!OpenClipboard(owner)) {
    GlobalFree(data);
    return false;
  }
  EmptyClipboard();
  const bool given = SetClipboardData(CF_UNICODETEXT, data) != nullptr;
  if (!given) GlobalFree(data);  // the clipboard took it only where it says so
  CloseClipboard();
  return given;
}

void TextBoxHandle::showBeginning() {
  SendMessageW(hwnd_, EM_SETSEL, 0, 0);
  SendMessageW(hwnd_, EM_SCROLLCARET, 0, 0);
}

wchar_t shortcutLetter(WPARAM key, LPARAM lp) {
  if (key >= 'A' && key <= 'Z') return static_cast<wchar_t>(key);
  // The keys' scan codes on every PC keyboard.
  switch ((lp >> 16) & 0xFF) {
    case 0x1E:
      return L'A';
    case 0x2E:
      return L'C';
    case 0x2F:
      return L'V';
    case 0x2D:
      return L'X';
    case 0x2C:
      return L'Z';
    default:
      return 0;
  }
}

bool TextBoxHandle::handlesItself(UINT msg, WPARAM wp, LPARAM lp) {
  // Ctrl without Alt (Ctrl+Alt is AltGr) never types: its keys act, here by their letter.
  const bool control = GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_MENU) >= 0;
  if (control && msg == WM_CHAR) return true;
  if (control && msg == WM_KEYDOWN) return edit(shortcutLetter(wp, lp));
  if (output_) return false;
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

void TextBoxHandle::changed() {
  if (output_) showBeginning();
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
  // EN_CHANGE reaches the window, and so Change, before SetWindowTextW returns.
  SetWindowTextW(hwnd_, widen(utf8).c_str());
}

void TextBoxHandle::relayToHoverText(UINT msg, WPARAM wp, LPARAM lp) {
  MSG m{hwnd_, msg, wp, lp, static_cast<DWORD>(GetMessageTime()), {}};
  GetCursorPos(&m.pt);
  SendMessageW(form_.tooltip(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&m));
}

void TextBoxHandle::setOutput() {
  output_ = true;
  SendMessageW(hwnd_, EM_SETREADONLY, TRUE, 0);
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(form_.resultFace().largest()), TRUE);
  setNarrowMargins(hwnd_);  // a new font brings the font's own margins back
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND;  // the box relays its mouse messages itself
  tool.hwnd = GetParent(hwnd_);
  tool.uId = reinterpret_cast<UINT_PTR>(hwnd_);
  tool.lpszText = const_cast<wchar_t*>(L"");
  SendMessageW(form_.tooltip(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
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

LRESULT CALLBACK controlProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  const auto* data = reinterpret_cast<const ControlData*>(GetWindowLongPtrW(h, GWLP_USERDATA));
  const WNDPROC original = data->original;
  TextBoxHandle* box = data->box;
  switch (msg) {
    case WM_GETOBJECT:
      if (const LRESULT answer = answerGetObject(h, wp, lp)) return answer;
      break;
    case WM_PAINT:
      if (box && box->isOutput()) {
        const LRESULT painted = CallWindowProcW(original, h, msg, wp, lp);
        drawResult(h, box->resultFace());
        return painted;
      }
      break;
    case WM_CONTEXTMENU:
      if (box) {
        box->contextMenu({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
        return 0;
      }
      break;
    case WM_NCDESTROY:
      forget(h);
      SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
      SetWindowLongPtrW(h, GWLP_USERDATA, 0);
      break;
    default:
      if (box && box->handlesItself(msg, wp, lp)) return 0;
      if (box && box->isOutput() && msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) {
        box->relayToHoverText(msg, wp, lp);
      }
      break;
  }
  return CallWindowProcW(original, h, msg, wp, lp);
}

}  // namespace kalvena::win32
