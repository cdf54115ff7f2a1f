#include "clipboard.h"

#include <cstring>
#include <functional>

namespace kalvena::win32 {

namespace {

// Another program may hold the clipboard for a moment (Wine's own clipboard manager does,
// each time the clipboard changes, to offer it to X): ask again for a fifth of a second.
bool openClipboard(HWND owner) {
  for (int attempt = 0; attempt < 20; ++attempt) {
    if (OpenClipboard(owner)) return true;
    Sleep(10);
  }
  return false;
}

}  // namespace

std::wstring clipboardText(HWND owner) {
  std::wstring text;
  if (!openClipboard(owner)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = chars;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

namespace {

// Puts `bytes` bytes that `fill` writes on the clipboard in a format; false where it could not.
bool putOnClipboard(HWND owner, UINT format, std::size_t bytes,
                    const std::function<void(unsigned char*)>& fill) {
  HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!data) return false;
  auto* memory = static_cast<unsigned char*>(GlobalLock(data));
  if (!memory || !openClipboard(owner)) {
    if (memory) GlobalUnlock(data);
    GlobalFree(data);
    return false;
  }
  fill(memory);
  GlobalUnlock(data);
  EmptyClipboard();
  const bool given = SetClipboardData(format, data) != nullptr;
  if (!given) GlobalFree(data);  // the clipboard took it only where it says so
  CloseClipboard();
  return given;
}

}  // namespace

bool putOnClipboard(HWND owner, std::wstring_view text) {
  std::wstring lines;
  for (const wchar_t c : text) {
    if (c == L'\n') lines.push_back(L'\r');
    lines.push_back(c);
  }
  return putOnClipboard(owner, CF_UNICODETEXT, (lines.size() + 1) * sizeof(wchar_t),
                        [&](unsigned char* bytes) {
                          std::memcpy(bytes, lines.c_str(), (lines.size() + 1) * sizeof(wchar_t));
                        });
}

bool putBitmapOnClipboard(HWND owner, const Dib& dib) {
  // A device-independent bitmap of 32-bit pixels, its bottom row first.
  BITMAPINFOHEADER header{sizeof header, dib.width(), dib.height(), 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  const std::size_t row = static_cast<std::size_t>(dib.width()) * 4;
  const auto rows = static_cast<std::size_t>(dib.height());
  GdiFlush();
  return putOnClipboard(owner, CF_DIB, sizeof header + row * rows, [&](unsigned char* bytes) {
    std::memcpy(bytes, &header, sizeof header);
    for (std::size_t y = 0; y < rows; ++y) {
      std::memcpy(bytes + sizeof header + row * (rows - 1 - y),
                  dib.pixels() + y * static_cast<std::size_t>(dib.width()), row);
    }
  });
}

}  // namespace kalvena::win32
