// A result box: a control of the program's own class that draws all of itself, frame, ground
// and text, and takes no typing. Its text is its window text; what it shows of it is laid out
// by the windows' code (ui::layOutResult) on the window's spaced face.

#include <windowsx.h>

#include <algorithm>
#include <cstdlib>

#include "system_library.h"
#include "text_box.h"
#include "utf16.h"

namespace kalvena::win32 {

namespace {

// Where a box's line of text goes, and its baseline: inside a one-pixel frame, a pixel clear of
// it and one pixel of margin at the sides, a pixel clear above where the box is tall enough, as
// an input box's EDIT places its number, so that the two kinds of box read alike.
struct TextPlace {
  RECT format;
  int baseline;
};

TextPlace placeIn(HWND box, const SpacedFace& face) {
  RECT client{};
  GetClientRect(box, &client);
  const TEXTMETRICW& line = face.line();
  const int side = GetSystemMetrics(SM_CXBORDER) + 1 + 1, above = GetSystemMetrics(SM_CYBORDER) + 1;
  RECT format{client.left + side, client.top, client.right - side, 0};
  if (client.bottom - client.top >= line.tmHeight + 2 * above) format.top += above;
  format.bottom = format.top + line.tmHeight;
  return {format, format.top + line.tmAscent};
}

TextBoxHandle* boxOf(HWND h) {
  return reinterpret_cast<TextBoxHandle*>(GetWindowLongPtrW(h, GWLP_USERDATA));
}

ui::ResultLine shownResult(HWND h, TextBoxHandle& box, const RECT& format) {
  return box.resultFace().layOut(narrow(windowText(h)), format.right - format.left);
}

void paint(HWND h, TextBoxHandle& box) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  // The window gives the colours and the ground of a read-only box.
  auto ground = reinterpret_cast<HBRUSH>(SendMessageW(
      GetParent(h), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(h)));
  RECT client{};
  GetClientRect(h, &client);
  FillRect(dc, &client, ground);
  FrameRect(dc, &client, GetSysColorBrush(COLOR_WINDOWFRAME));
  SpacedFace& face = box.resultFace();
  const TextPlace place = placeIn(h, face);
  const ui::ResultLine shown = shownResult(h, box, place.format);
  // The text never reaches the frame.
  RECT inside = client;
  InflateRect(&inside, -1, -1);
  IntersectRect(&inside, &inside, &place.format);
  LOGBRUSH groundColour{};
  GetObjectW(ground, sizeof groundColour, &groundColour);
  COLORREF ink = GetSysColor(COLOR_WINDOWTEXT), behind = groundColour.lbColor;
  RECT room = inside;
  if (box.selected() && GetFocus() == h && !shown.characters.empty()) {
    room.right = std::min(inside.right, place.format.left + shown.width + 1);
    ink = GetSysColor(COLOR_HIGHLIGHTTEXT);
    behind = GetSysColor(COLOR_HIGHLIGHT);
  }
  face.draw(dc, room, place.format.left, place.baseline, shown, ink, behind);
  EndPaint(h, &ps);
}

// The focused box shows a caret where its text begins.
void showCaret(HWND h, TextBoxHandle& box) {
  const TextPlace place = placeIn(h, box.resultFace());
  CreateCaret(h, nullptr, 1, place.format.bottom - place.format.top);
  SetCaretPos(place.format.left, place.format.top);
  ShowCaret(h);
}

LRESULT key(HWND h, TextBoxHandle& box, WPARAM key, LPARAM lp) {
  if (controlHeld()) {
    box.editByKey(key, lp);
    return 0;
  }
  // Shift with a key that moves towards the end selects the text; moving alone, nothing.
  switch (key) {
    case VK_END:
    case VK_RIGHT:
    case VK_DOWN:
      box.select(GetKeyState(VK_SHIFT) < 0);
      return 0;
    case VK_HOME:
    case VK_LEFT:
    case VK_UP:
      box.select(false);
      return 0;
    default:
      return DefWindowProcW(h, WM_KEYDOWN, key, lp);
  }
}

LRESULT CALLBACK resultBoxProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  TextBoxHandle* box = windowObject<TextBoxHandle>(h, msg, lp);
  if (!box) return DefWindowProcW(h, msg, wp, lp);
  static int pressedAt = 0;  // where the mouse went down, while it is held on a box
  if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) box->relayToHoverText(msg, wp, lp);
  switch (msg) {
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_ERASEBKGND:
      return 1;  // the paint covers the whole box
    case WM_PAINT:
      paint(h, *box);
      return 0;
    case WM_SETFOCUS:
      showCaret(h, *box);
      InvalidateRect(h, nullptr, FALSE);  // a selection shows only in the focused box
      return 0;
    case WM_KILLFOCUS:
      DestroyCaret();
      InvalidateRect(h, nullptr, FALSE);
      return 0;
    case WM_KEYDOWN:
      return key(h, *box, wp, lp);
    case WM_CHAR:
      return 0;  // nothing is typed into a result
    case WM_LBUTTONDOWN:
      SetFocus(h);
      box->select(false);
      SetCapture(h);
      pressedAt = GET_X_LPARAM(lp);
      return 0;
    case WM_MOUSEMOVE:
      // Dragging across the text selects it, as it can only be selected whole.
      if (GetCapture() == h &&
          std::abs(GET_X_LPARAM(lp) - pressedAt) > GetSystemMetrics(SM_CXDRAG)) {
        box->select(true);
      }
      return 0;
    case WM_LBUTTONUP:
      if (GetCapture() == h) ReleaseCapture();
      return 0;
    case WM_LBUTTONDBLCLK:
      box->select(true);
      return 0;
    case WM_CONTEXTMENU:
      box->contextMenu({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
      return 0;
    default:
      break;
  }
  return describedDefault(h, msg, wp, lp);
}

}  // namespace

void registerResultBoxClass(HINSTANCE instance) {
  registerWindowClass(instance, {.name = kResultBoxClass,
                                 .proc = resultBoxProc,
                                 .style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW,
                                 // IDC_IBEAM, as over any text
                                 .cursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32513))});
}

std::wstring shownTextIn(HWND h) {
  TextBoxHandle* box = isOfClass(h, kResultBoxClass) ? boxOf(h) : nullptr;
  if (!box) return windowText(h);
  const TextPlace place = placeIn(h, box->resultFace());
  return widen(shownResult(h, *box, place.format).text());
}

}  // namespace kalvena::win32
