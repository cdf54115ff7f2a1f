#pragma once

// The windows' toolkit on the native Win32 API: a window that paints its face (captions, lines,
// pictures) with GDI and GDI+, single-line EDIT boxes, result boxes of its own class, BUTTONs,
// its own message box, and one message loop with IsDialogMessageW. UTF-8 from the windows'
// code becomes UTF-16 here, at the edge, once.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "face.h"
#include "toolkit.h"
#include "utf16.h"

namespace kalvena::win32 {

using ui::twipsToPixels;

// Where a window cannot be made at all (under Wine without a display, say), there is nothing to
// fall back to: createWindow throws this, with the system's error.
struct NoWindow : std::runtime_error {
  explicit NoWindow(DWORD e)
      : std::runtime_error("the window could not be made (" + std::to_string(e) + ")"), error(e) {}
  DWORD error;
};
// Says that the program cannot open its window, and why, on the standard error (a terminal's,
// where it was started from one) and in a message box, which shows where the system can show one.
void sayNoWindow(const NoWindow& e);

// What a window answers the system's WM_QUERYENDSESSION: what the windows' code said, where it
// said something; yes otherwise.
bool mayEndSession();

class Win32Toolkit final : public ui::Toolkit {
 public:
  // Keeps DLLs to the system folder, registers the window classes and starts GDI+.
  explicit Win32Toolkit(HINSTANCE instance);
  ~Win32Toolkit() override;
  Win32Toolkit(const Win32Toolkit&) = delete;
  Win32Toolkit& operator=(const Win32Toolkit&) = delete;

  std::unique_ptr<ui::NativeWindow> createWindow(const ui::FormLayout& layout,
                                                 std::span<const std::string_view> resultBoxes,
                                                 std::function<void()> onClose) override;
  void destroyLater(std::unique_ptr<ui::NativeWindow> window) override;
  void quit() override;
  std::string decimalSeparator() const override;
  void onEndSession(std::function<bool()> mayEnd) override;

  // The message loop: runs until the program ends and returns its exit code.
  int run();
  // What the loop does with one message: Return presses a focused button, Tab and Space work
  // as in a dialog, the rest is dispatched; then windows due to be destroyed are.
  void handle(MSG& msg);
  // Destroys the windows that were unloaded while a handler ran.
  void destroyDue() { dying_.clear(); }

  HINSTANCE instance() const { return instance_; }

 private:
  HINSTANCE instance_;
  std::vector<std::unique_ptr<ui::NativeWindow>> dying_;
};

}  // namespace kalvena::win32
