#include "fonts.h"

#include <algorithm>

#include "dib.h"

namespace kalvena::win32 {

namespace {

bool fontExists(const wchar_t* face) {
  HDC dc = GetDC(nullptr);
  LOGFONTW lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  bool found = false;
  EnumFontFamiliesExW(
      dc, &lf,
      [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM p) -> int {
        *reinterpret_cast<bool*>(p) = true;
        return 0;
      },
      reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, dc);
  return found;
}

TEXTMETRICW metricsOf(HFONT font) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return tm;
}

}  // namespace

const wchar_t* fontFace() {
  static const wchar_t* face = fontExists(L"Arial") ? L"Arial" : L"Liberation Sans";
  return face;
}

HFONT makeFont(int dpi, int stretch) {
  LOGFONTW lf{};
  lf.lfHeight = -MulDiv(kFontPixels, dpi, 96);
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  wcsncpy(lf.lfFaceName, fontFace(), LF_FACESIZE - 1);
  if (stretch != 100) {
    // The average width of the normal face, narrowed.
    const Gdi<HFONT> normal(CreateFontIndirectW(&lf));
    lf.lfWidth = MulDiv(metricsOf(normal.get()).tmAveCharWidth, stretch, 100);
  }
  return CreateFontIndirectW(&lf);
}

int lineSpacing(HFONT font) {
  const TEXTMETRICW tm = metricsOf(font);
  return tm.tmHeight + tm.tmExternalLeading;
}

int textWidth(HFONT font, std::wstring_view text) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE size{};
  GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return size.cx;
}

RECT captionInk(HFONT font, const std::wstring& caption, int width, bool wraps) {
  const Dib canvas(2 * width + 64, 8 * lineSpacing(font));
  // No bitmap to draw on: the extent that the text functions give.
  if (!canvas.ok()) return {0, 0, textWidth(font, caption), lineSpacing(font)};
  HDC dc = canvas.dc();
  HGDIOBJ oldFont = SelectObject(dc, font);
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkMode(dc, TRANSPARENT);
  RECT room{0, 0, width, canvas.height()};
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &room,
            DT_LEFT | DT_EXPANDTABS | DT_NOPREFIX | DT_NOCLIP | (wraps ? DT_WORDBREAK : 0));
  GdiFlush();
  SelectObject(dc, oldFont);
  RECT ink{0, 0, 0, 0};
  const DWORD* px = canvas.pixels();
  for (int y = 0; y < canvas.height(); ++y) {
    for (int x = 0; x < canvas.width(); ++x) {
      if ((px[y * canvas.width() + x] & 0xFFFFFF) != 0xFFFFFF) {
        ink.right = std::max<LONG>(ink.right, x + 1);
        ink.bottom = y + 1;
      }
    }
  }
  return ink;
}

}  // namespace kalvena::win32
