#include "picture_box.h"

#include <gdiplus.h>
#include <shlwapi.h>

#include <optional>
#include <string>

#include "accessible.h"
#include "system_library.h"
#include "win32_toolkit.h"

namespace kalvena::win32 {

namespace {

// GDI+, which decodes the pictures; loaded with the toolkit.
struct GdiPlus {
  SystemLibrary dll{L"gdiplus.dll"};
  decltype(&Gdiplus::GdiplusStartup) startup =
      dll.function<decltype(Gdiplus::GdiplusStartup)>("GdiplusStartup");
  decltype(&Gdiplus::GdiplusShutdown) shutdown =
      dll.function<decltype(Gdiplus::GdiplusShutdown)>("GdiplusShutdown");
  decltype(&Gdiplus::DllExports::GdipCreateBitmapFromStream) fromStream =
      dll.function<decltype(Gdiplus::DllExports::GdipCreateBitmapFromStream)>(
          "GdipCreateBitmapFromStream");
  decltype(&Gdiplus::DllExports::GdipCreateHBITMAPFromBitmap) toBitmap =
      dll.function<decltype(Gdiplus::DllExports::GdipCreateHBITMAPFromBitmap)>(
          "GdipCreateHBITMAPFromBitmap");
  decltype(&Gdiplus::DllExports::GdipDisposeImage) dispose =
      dll.function<decltype(Gdiplus::DllExports::GdipDisposeImage)>("GdipDisposeImage");
  ULONG_PTR token = 0;

  GdiPlus() {
    Gdiplus::GdiplusStartupInput input{};
    if (!startup || !shutdown || !fromStream || !toBitmap || !dispose ||
        startup(&token, &input, nullptr) != Gdiplus::Ok) {
      token = 0;
      noteFallback("GDI+ could not be started; the pictures stay blank");
    }
  }
  ~GdiPlus() {
    if (token) shutdown(token);
  }
  GdiPlus(const GdiPlus&) = delete;
  GdiPlus& operator=(const GdiPlus&) = delete;
};

std::optional<GdiPlus> gGdiPlus;  // while the toolkit lives

// A PNG resource of the program as a bitmap; null when there is none.
HBITMAP loadPng(HINSTANCE instance, const std::wstring& name) {
  if (!gGdiPlus || !gGdiPlus->token) return nullptr;
  HRSRC res = FindResourceW(instance, name.c_str(), MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (!res) return nullptr;
  HGLOBAL data = LoadResource(instance, res);
  const auto* bytes = static_cast<const BYTE*>(LockResource(data));
  IStream* stream = SHCreateMemStream(bytes, SizeofResource(instance, res));
  if (!stream) return nullptr;
  HBITMAP bitmap = nullptr;
  Gdiplus::GpBitmap* image = nullptr;
  if (gGdiPlus->fromStream(stream, &image) == Gdiplus::Ok) {
    gGdiPlus->toBitmap(image, &bitmap, 0xFFFFFFFF);
    gGdiPlus->dispose(image);
  }
  stream->Release();
  return bitmap;
}

LRESULT CALLBACK pictureProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      // The bitmap at the top-left corner, unscaled, clipped to the box.
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      if (auto bitmap = reinterpret_cast<HBITMAP>(GetWindowLongPtrW(hwnd, GWLP_USERDATA))) {
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, bitmap);
        BITMAP info{};
        GetObjectW(bitmap, sizeof info, &info);
        BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
      }
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_GETOBJECT:
      if (const LRESULT answer = answerGetObject(hwnd, wp, lp)) return answer;
      break;
    case WM_NCDESTROY:
      forget(hwnd);
      if (auto bitmap = reinterpret_cast<HBITMAP>(GetWindowLongPtrW(hwnd, GWLP_USERDATA))) {
        DeleteObject(bitmap);
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

void startPictures() {
  if (!gGdiPlus) gGdiPlus.emplace();
}

void endPictures() { gGdiPlus.reset(); }

void registerPictureClass(HINSTANCE instance) {
  WNDCLASSEXW picture{};
  picture.cbSize = sizeof picture;
  picture.lpfnWndProc = pictureProc;
  picture.hInstance = instance;
  picture.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  picture.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  picture.lpszClassName = kPictureClass;
  RegisterClassExW(&picture);
}

void setPicture(HINSTANCE instance, HWND box, std::string_view image, int dpi) {
  const wchar_t* scale = dpi >= 192 ? L"_2X" : L"_1X";
  HBITMAP bitmap = loadPng(instance, widen(image) + scale);
  auto old = reinterpret_cast<HBITMAP>(
      SetWindowLongPtrW(box, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(bitmap)));
  if (old) DeleteObject(old);
}

}  // namespace kalvena::win32
