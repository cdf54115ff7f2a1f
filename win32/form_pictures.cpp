#include "form_pictures.h"

#include <commctrl.h>
#include <windowsx.h>

#include "form_controls.h"
#include "menus.h"
#include "owned.h"
#include "system_library.h"
#include "utf16.h"

namespace kalvena::win32 {

namespace {

constexpr UINT_PTR kFirstPictureTip = 0x7000;  // clear of the controls' ids

RECT rectOf(const ui::PixelRect& b) { return {b.left, b.top, b.left + b.width, b.top + b.height}; }

}  // namespace

bool pictureMenu(HWND form, const ui::Face* face, LPARAM lp,
                 const std::function<void(ui::Command)>& run) {
  POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  if (at.x == -1 && at.y == -1) return false;
  POINT client = at;
  ScreenToClient(form, &client);
  if (!face || !face->pictureAt(client.x, client.y)) return false;
  const std::span<const ui::MenuEntry> entries = ui::menuOf(ui::Place::Picture);
  const OwnedMenu menu = popupMenu(entries, [](ui::Condition) { return true; });
  if (!menu.get()) return false;
  // The menu tracks the window that is active: the window it belongs to is made so.
  SetForegroundWindow(form);
  if (const std::optional<ui::Command> chosen =
          chosenCommand(menu, entries, form, at, TPM_RIGHTBUTTON)) {
    run(*chosen);
  }
  return true;
}

void addPictureTips(HWND form, HWND tooltip, const ui::Face* face, std::wstring& text) {
  if (!tooltip || !face) return;
  text = widen(ui::kPictureHint);
  UINT_PTR id = kFirstPictureTip;
  for (const ui::FaceObject& o : face->objects()) {
    if (o.role != ui::FaceObject::Role::Graphic) continue;
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_SUBCLASS;
    info.hwnd = form;
    info.uId = id++;
    info.rect = rectOf(o.bounds);
    info.lpszText = text.data();
    SendMessageW(tooltip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    if (!SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info))) {
      noteFallback("a picture's hover text could not be added");
    }
  }
}

void drawPictureFocus(HWND form) {
  HWND focus = GetFocus();
  if (!isPictureFocus(focus) || GetParent(focus) != form) return;
  RECT r{};
  GetWindowRect(focus, &r);
  MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&r), 2);
  if (HDC dc = GetDC(form)) {
    DrawFocusRect(dc, &r);
    ReleaseDC(form, dc);
  }
}

}  // namespace kalvena::win32
