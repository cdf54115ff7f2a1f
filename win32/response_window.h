#pragma once

// The response view on Win32: a top-level window owned by a calculator window (closed with it),
// with the choices of parts as radio buttons above the plot, which the windows' own code draws
// on the GDI+ painter.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <memory>

#include "toolkit.h"

namespace kalvena::win32 {

inline constexpr wchar_t kResponseClass[] = L"KalvenaResponse";
void registerResponseClasses(HINSTANCE instance);

class ResponseWindow {
 public:
  ResponseWindow(HINSTANCE instance, HWND owner, ui::ResponseView view);
  ~ResponseWindow();
  ResponseWindow(const ResponseWindow&) = delete;
  ResponseWindow& operator=(const ResponseWindow&) = delete;

  // Shows it, or brings it to the front, active.
  void show();
  // Draws the plot anew and says it anew to a screen reader.
  void refresh();
  HWND hwnd() const;
  HWND plot() const;
  int choice() const;
  // Hands a command of the view's keys or button to the windows' code.
  void run(ui::Command command);
  // Puts the plot on the clipboard as a bitmap (CF_DIB); false where it could not.
  bool copyPlot();

  struct State;  // the window's procedures' too

 private:
  std::unique_ptr<State> state_;
};

// The response window whose top-level window is `root`; null for any other window.
ResponseWindow* responseWindowOf(HWND root);

}  // namespace kalvena::win32
