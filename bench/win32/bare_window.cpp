// For scale: the barest Win32 window that shows one line of text, a STATIC in the window's
// font, and a message loop.
#include <windows.h>

namespace {

LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  WNDCLASSW c{};
  c.lpfnWndProc = proc;
  c.hInstance = instance;
  c.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  c.lpszClassName = L"BareWindow";
  RegisterClassW(&c);
  HWND window = CreateWindowExW(0, L"BareWindow", L"Bare", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 369, 459, nullptr, nullptr, instance, nullptr);
  HWND text =
      CreateWindowExW(0, L"STATIC", L"Изчисляване на честотни филтри", WS_CHILD | WS_VISIBLE, 16, 0,
                      345, 17, window, nullptr, instance, nullptr);
  SendMessageW(text, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
  ShowWindow(window, show);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
