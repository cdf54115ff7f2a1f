#include "picture_box.h"

#include "accessible.h"
#include "gdiplus_painter.h"

namespace kalvena::win32 {

namespace {

// Paints the box's picture, over a white ground, at the box's DPI.
void paint(HWND box, HDC dc) {
  const auto* picture = reinterpret_cast<const Picture*>(GetWindowLongPtrW(box, GWLP_USERDATA));
  if (!picture || !picture->drawing) return;
  RECT area;
  GetClientRect(box, &area);
  drawOn(dc, *picture->drawing, picture->width, picture->height,
         static_cast<int>(GetDpiForWindow(box)), {area.right, area.bottom});
}

LRESULT CALLBACK pictureProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NCCREATE:
      SetWindowLongPtrW(
          hwnd, GWLP_USERDATA,
          reinterpret_cast<LONG_PTR>(reinterpret_cast<const CREATESTRUCTW*>(lp)->lpCreateParams));
      break;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      paint(hwnd, dc);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_PRINTCLIENT: {
      // The box drawn into a device context of the caller's, as it paints itself.
      auto dc = reinterpret_cast<HDC>(wp);
      RECT all;
      GetClientRect(hwnd, &all);
      FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
      paint(hwnd, dc);
      return 0;
    }
    case WM_GETOBJECT:
      if (const LRESULT answer = answerGetObject(hwnd, wp, lp)) return answer;
      break;
    case WM_NCDESTROY:
      forget(hwnd);
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

void registerPictureClass(HINSTANCE instance) {
  WNDCLASSEXW picture{};
  picture.cbSize = sizeof picture;
  picture.style = CS_HREDRAW | CS_VREDRAW;  // drawn anew at a new size (a new DPI)
  picture.lpfnWndProc = pictureProc;
  picture.hInstance = instance;
  picture.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  picture.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  picture.lpszClassName = kPictureClass;
  RegisterClassExW(&picture);
}

HWND createPictureBox(HWND parent, HMENU id, HINSTANCE instance, const Picture* picture) {
  return CreateWindowExW(0, kPictureClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent, id,
                         instance, const_cast<Picture*>(picture));
}

}  // namespace kalvena::win32
