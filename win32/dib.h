#pragma once

// A bitmap of 32-bit pixels, top row first, whose pixels the program reads and writes directly,
// selected into a memory device context of the screen's kind: what a caption is measured on,
// a picture drawn on before it is copied to its box, and the tests read pixels from.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <cstddef>

#include "owned.h"

namespace kalvena::win32 {

class Dib {
 public:
  // All white; ok() is false where the system gave no bitmap.
  Dib(int width, int height) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    dc_ = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    bitmap_ = dc_ ? CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
    if (!bitmap_) return;
    pixels_ = static_cast<DWORD*>(bits);
    old_ = SelectObject(dc_, bitmap_);
    gdiObjectsHeld += 2;
    std::fill_n(pixels_, size(), 0x00FFFFFFu);
  }
  ~Dib() {
    if (old_) SelectObject(dc_, old_);
    if (bitmap_) DeleteObject(bitmap_);
    if (dc_) DeleteDC(dc_);
    if (bitmap_) gdiObjectsHeld -= 2;
  }
  Dib(const Dib&) = delete;
  Dib& operator=(const Dib&) = delete;

  bool ok() const { return pixels_ != nullptr; }
  HDC dc() const { return dc_; }
  int width() const { return width_; }
  int height() const { return height_; }
  // 0x00RRGGBB each, row after row; read them after GdiFlush().
  DWORD* pixels() const { return pixels_; }
  std::size_t size() const {
    return static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_);
  }

 private:
  int width_;
  int height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  DWORD* pixels_ = nullptr;
};

}  // namespace kalvena::win32
