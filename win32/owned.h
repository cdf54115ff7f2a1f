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

// How many GDI objects (fonts, brushes, bitmaps, device contexts) the program holds through Gdi
// and Dib, which count what they make and delete: the system's own count is not kept under Wine.
inline long gdiObjectsHeld = 0;

template <class Handle>
void deleteGdiObject(Handle h) {
  if (DeleteObject(h)) --gdiObjectsHeld;
}

// Owns a GDI object, and counts it among those the program holds.
template <class Handle>
class Gdi : public Owned<Handle, &deleteGdiObject<Handle>> {
 public:
  Gdi() = default;
  explicit Gdi(Handle h) : Owned<Handle, &deleteGdiObject<Handle>>(h) {
    if (h) ++gdiObjectsHeld;
  }
  Gdi& operator=(Handle h) {
    this->reset(h);
    if (h) ++gdiObjectsHeld;
    return *this;
  }
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
