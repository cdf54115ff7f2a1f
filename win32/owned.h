#pragma once

// Handles the program owns, each given back when its owner goes.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <utility>

namespace kalvena::win32 {

// Owns a handle and gives it back with `release`.
template <class Handle, auto release>
class Owned {
 public:
  Owned() = default;
  explicit Owned(Handle h) : h_(h) {}
  Owned(Owned&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  Owned& operator=(Owned&& o) noexcept {
    reset(std::exchange(o.h_, nullptr));
    return *this;
  }
  ~Owned() { reset(); }
  Handle get() const { return h_; }
  void reset(Handle h = nullptr) {
    if (h_) release(h_);
    h_ = h;
  }

 private:
  Handle h_ = nullptr;
};

using OwnedIcon = Owned<HICON, &DestroyIcon>;
using OwnedWindow = Owned<HWND, &DestroyWindow>;
using OwnedMenu = Owned<HMENU, &DestroyMenu>;

// A window's device context (the screen's, for no window), while it is in scope.
class WindowDc {
 public:
  explicit WindowDc(HWND window = nullptr) : window_(window), dc_(GetDC(window)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

}  // namespace kalvena::win32
