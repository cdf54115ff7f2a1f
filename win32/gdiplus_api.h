#pragma once

// GDI+, which the program loads itself from the system folder when the toolkit starts: its flat
// functions, each by its own name.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <gdiplus.h>

#include "system_library.h"

namespace kalvena::win32 {

namespace flat = Gdiplus::DllExports;

// GDI+'s flat functions, by name from the DLL.
#define KALVENA_GDIPLUS(name) \
  decltype(&flat::name) name = have(dll.function<decltype(flat::name)>(#name))

struct GdiPlus {
  SystemLibrary dll{L"gdiplus.dll"};
  int missing = 0;  // functions not found
  template <class Function>
  Function have(Function f) {
    if (!f) ++missing;
    return f;
  }
  decltype(&Gdiplus::GdiplusStartup) startup =
      have(dll.function<decltype(Gdiplus::GdiplusStartup)>("GdiplusStartup"));
  decltype(&Gdiplus::GdiplusShutdown) shutdown =
      have(dll.function<decltype(Gdiplus::GdiplusShutdown)>("GdiplusShutdown"));
  KALVENA_GDIPLUS(GdipCreateBitmapFromScan0);
  KALVENA_GDIPLUS(GdipGetImageGraphicsContext);
  KALVENA_GDIPLUS(GdipDisposeImage);
  KALVENA_GDIPLUS(GdipGraphicsClear);
  KALVENA_GDIPLUS(GdipDeleteGraphics);
  KALVENA_GDIPLUS(GdipSetSmoothingMode);
  KALVENA_GDIPLUS(GdipSetPixelOffsetMode);
  KALVENA_GDIPLUS(GdipSetTextRenderingHint);
  KALVENA_GDIPLUS(GdipScaleWorldTransform);
  KALVENA_GDIPLUS(GdipTranslateWorldTransform);
  KALVENA_GDIPLUS(GdipSaveGraphics);
  KALVENA_GDIPLUS(GdipRestoreGraphics);
  KALVENA_GDIPLUS(GdipFlush);
  KALVENA_GDIPLUS(GdipSetClipRect);
  KALVENA_GDIPLUS(GdipCreatePen1);
  KALVENA_GDIPLUS(GdipDeletePen);
  KALVENA_GDIPLUS(GdipSetPenLineJoin);
  KALVENA_GDIPLUS(GdipSetPenDashArray);
  KALVENA_GDIPLUS(GdipCreateSolidFill);
  KALVENA_GDIPLUS(GdipDeleteBrush);
  KALVENA_GDIPLUS(GdipDrawLine);
  KALVENA_GDIPLUS(GdipDrawLines);
  KALVENA_GDIPLUS(GdipDrawArc);
  KALVENA_GDIPLUS(GdipDrawEllipse);
  KALVENA_GDIPLUS(GdipFillEllipse);
  KALVENA_GDIPLUS(GdipDrawRectangle);
  KALVENA_GDIPLUS(GdipFillRectangle);
  KALVENA_GDIPLUS(GdipFillPolygon);
  KALVENA_GDIPLUS(GdipCreateFontFamilyFromName);
  KALVENA_GDIPLUS(GdipDeleteFontFamily);
  KALVENA_GDIPLUS(GdipCreateFont);
  KALVENA_GDIPLUS(GdipDeleteFont);
  KALVENA_GDIPLUS(GdipGetCellAscent);
  KALVENA_GDIPLUS(GdipGetEmHeight);
  KALVENA_GDIPLUS(GdipStringFormatGetGenericTypographic);
  KALVENA_GDIPLUS(GdipDeleteStringFormat);
  KALVENA_GDIPLUS(GdipMeasureString);
  KALVENA_GDIPLUS(GdipDrawString);
  ULONG_PTR token = 0;  // 0 where it did not start

  // Started, or noted among the fallbacks where it cannot be (token stays 0).
  GdiPlus();
  ~GdiPlus();
  GdiPlus(const GdiPlus&) = delete;
  GdiPlus& operator=(const GdiPlus&) = delete;
};

#undef KALVENA_GDIPLUS

// GDI+ while the toolkit lives and it runs; null otherwise.
GdiPlus* gdiPlus();
// Starts GDI+ (noted among the fallbacks where it cannot be: the pictures then stay blank), and
// ends it.
void startGdiPlus();
void endGdiPlus();

}  // namespace kalvena::win32
