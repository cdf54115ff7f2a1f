#include "gdiplus_painter.h"

#include <gdiplus.h>

#include <optional>
#include <string>
#include <vector>

#include "dib.h"
#include "fonts.h"
#include "system_library.h"
#include "win32_toolkit.h"

namespace kalvena::win32 {

namespace {

using namespace Gdiplus;
namespace flat = Gdiplus::DllExports;

// GDI+'s flat functions, by name from the DLL.
#define KALVENA_GDIPLUS(name) decltype(&flat::name) name = dll.function<decltype(flat::name)>(#name)

struct Api {
  SystemLibrary dll{L"gdiplus.dll"};
  decltype(&Gdiplus::GdiplusStartup) startup =
      dll.function<decltype(Gdiplus::GdiplusStartup)>("GdiplusStartup");
  decltype(&Gdiplus::GdiplusShutdown) shutdown =
      dll.function<decltype(Gdiplus::GdiplusShutdown)>("GdiplusShutdown");
  KALVENA_GDIPLUS(GdipCreateBitmapFromScan0);
  KALVENA_GDIPLUS(GdipGetImageGraphicsContext);
  KALVENA_GDIPLUS(GdipDisposeImage);
  KALVENA_GDIPLUS(GdipGraphicsClear);
  KALVENA_GDIPLUS(GdipDeleteGraphics);
  KALVENA_GDIPLUS(GdipSetSmoothingMode);
  KALVENA_GDIPLUS(GdipSetPixelOffsetMode);
  KALVENA_GDIPLUS(GdipSetTextRenderingHint);
  KALVENA_GDIPLUS(GdipScaleWorldTransform);
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
  ULONG_PTR token = 0;

  Api() {
    const bool complete =
        startup && shutdown && GdipCreateBitmapFromScan0 && GdipGetImageGraphicsContext &&
        GdipDisposeImage && GdipGraphicsClear && GdipDeleteGraphics && GdipSetSmoothingMode &&
        GdipSetPixelOffsetMode && GdipSetTextRenderingHint && GdipScaleWorldTransform &&
        GdipSetClipRect && GdipCreatePen1 && GdipDeletePen && GdipSetPenLineJoin &&
        GdipSetPenDashArray && GdipCreateSolidFill && GdipDeleteBrush && GdipDrawLine &&
        GdipDrawLines && GdipDrawArc && GdipDrawEllipse && GdipFillEllipse && GdipDrawRectangle &&
        GdipFillRectangle && GdipFillPolygon && GdipCreateFontFamilyFromName &&
        GdipDeleteFontFamily && GdipCreateFont && GdipDeleteFont && GdipGetCellAscent &&
        GdipGetEmHeight && GdipStringFormatGetGenericTypographic && GdipDeleteStringFormat &&
        GdipMeasureString && GdipDrawString;
    GdiplusStartupInput input{};
    if (!complete || startup(&token, &input, nullptr) != Ok) {
      token = 0;
      noteFallback("GDI+ could not be started; the pictures stay blank");
    }
  }
  ~Api() {
    if (token) shutdown(token);
  }
  Api(const Api&) = delete;
  Api& operator=(const Api&) = delete;
};

#undef KALVENA_GDIPLUS

std::optional<Api> gApi;  // while the toolkit lives

ARGB argb(ui::Color c) {
  return 0xFF000000u | (ARGB{c.red} << 16) | (ARGB{c.green} << 8) | ARGB{c.blue};
}

std::vector<PointF> pointsOf(std::span<const ui::Point> points) {
  std::vector<PointF> out;
  out.reserve(points.size());
  for (const ui::Point& p : points)
    out.emplace_back(static_cast<REAL>(p.x), static_cast<REAL>(p.y));
  return out;
}

REAL real(double v) { return static_cast<REAL>(v); }

// The painter on one GDI+ graphics object, in the bitmap's logical pixels.
class GdiPlusPainter final : public ui::Painter {
 public:
  GdiPlusPainter(const Api& api, GpGraphics* g) : api_(api), g_(g) {}
  ~GdiPlusPainter() override {
    if (format_) api_.GdipDeleteStringFormat(format_);
    if (family_) api_.GdipDeleteFontFamily(family_);
  }
  GdiPlusPainter(const GdiPlusPainter&) = delete;
  GdiPlusPainter& operator=(const GdiPlusPainter&) = delete;

  void line(ui::Point from, ui::Point to, const ui::Pen& pen) override {
    GpPen* p = makePen(pen);
    api_.GdipDrawLine(g_, p, real(from.x), real(from.y), real(to.x), real(to.y));
    api_.GdipDeletePen(p);
  }
  void polyline(std::span<const ui::Point> points, const ui::Pen& pen) override {
    const std::vector<PointF> pts = pointsOf(points);
    GpPen* p = makePen(pen);
    api_.GdipDrawLines(g_, p, pts.data(), static_cast<INT>(pts.size()));
    api_.GdipDeletePen(p);
  }
  void polygon(std::span<const ui::Point> points, ui::Color fill, const ui::Pen& outline) override {
    std::vector<PointF> pts = pointsOf(points);
    GpSolidFill* brush = nullptr;
    api_.GdipCreateSolidFill(argb(fill), &brush);
    api_.GdipFillPolygon(g_, brush, pts.data(), static_cast<INT>(pts.size()), FillModeAlternate);
    api_.GdipDeleteBrush(brush);
    if (outline.width > 0 && !pts.empty()) {
      pts.push_back(pts.front());
      GpPen* p = makePen(outline);
      api_.GdipDrawLines(g_, p, pts.data(), static_cast<INT>(pts.size()));
      api_.GdipDeletePen(p);
    }
  }
  void circle(ui::Point centre, double radius, ui::Color fill, const ui::Pen& outline) override {
    const REAL x = real(centre.x - radius), y = real(centre.y - radius), d = real(2 * radius);
    GpSolidFill* brush = nullptr;
    api_.GdipCreateSolidFill(argb(fill), &brush);
    api_.GdipFillEllipse(g_, brush, x, y, d, d);
    api_.GdipDeleteBrush(brush);
    if (outline.width > 0) {
      GpPen* p = makePen(outline);
      api_.GdipDrawEllipse(g_, p, x, y, d, d);
      api_.GdipDeletePen(p);
    }
  }
  void rectangle(ui::Point topLeft, double width, double height, ui::Color fill) override {
    GpSolidFill* brush = nullptr;
    api_.GdipCreateSolidFill(argb(fill), &brush);
    api_.GdipFillRectangle(g_, brush, real(topLeft.x), real(topLeft.y), real(width), real(height));
    api_.GdipDeleteBrush(brush);
    GpPen* p = makePen({});
    api_.GdipDrawRectangle(g_, p, real(topLeft.x), real(topLeft.y), real(width), real(height));
    api_.GdipDeletePen(p);
  }
  void arc(ui::Point centre, double radius, double startDegrees, double sweepDegrees,
           const ui::Pen& pen) override {
    // GDI+ measures angles clockwise, as the painter does.
    GpPen* p = makePen(pen);
    api_.GdipDrawArc(g_, p, real(centre.x - radius), real(centre.y - radius), real(2 * radius),
                     real(2 * radius), real(startDegrees), real(sweepDegrees));
    api_.GdipDeletePen(p);
  }
  void text(ui::Point baseline, std::string_view utf8, ui::Anchor anchor, double pixelSize,
            ui::Color color) override {
    const std::wstring s = widen(utf8);
    if (!family_) {
      // The face and the text layout, made once for all the drawing's texts.
      if (api_.GdipCreateFontFamilyFromName(pictureFace(), nullptr, &family_) != Ok) return;
      api_.GdipGetCellAscent(family_, FontStyleRegular, &ascent_);
      api_.GdipGetEmHeight(family_, FontStyleRegular, &em_);
      // Without the padding that GDI+ puts around a text by default.
      api_.GdipStringFormatGetGenericTypographic(&format_);
    }
    GpFont* font = nullptr;
    GpSolidFill* brush = nullptr;
    api_.GdipCreateFont(family_, real(pixelSize), FontStyleRegular, UnitWorld, &font);
    api_.GdipCreateSolidFill(argb(color), &brush);
    const RectF unbounded(0, 0, 0, 0);
    RectF bounds{};
    api_.GdipMeasureString(g_, s.c_str(), static_cast<INT>(s.size()), font, &unbounded, format_,
                           &bounds, nullptr, nullptr);
    double x = baseline.x;
    if (anchor == ui::Anchor::Middle) x -= bounds.Width / 2;
    if (anchor == ui::Anchor::End) x -= bounds.Width;
    // GDI+ places a text by the top of its line; the baseline lies the face's ascent below.
    const RectF at(real(x), real(baseline.y - pixelSize * ascent_ / em_), 0, 0);
    api_.GdipDrawString(g_, s.c_str(), static_cast<INT>(s.size()), font, &at, format_, brush);
    api_.GdipDeleteBrush(brush);
    api_.GdipDeleteFont(font);
  }

 private:
  GpPen* makePen(const ui::Pen& pen) const {
    GpPen* p = nullptr;
    api_.GdipCreatePen1(argb(pen.color), real(pen.width), UnitWorld, &p);
    api_.GdipSetPenLineJoin(p, LineJoinRound);
    if (pen.dashed) {
      // Two pixels drawn, two left out; GDI+ counts in pen widths.
      const REAL dash[] = {real(2 / pen.width), real(2 / pen.width)};
      api_.GdipSetPenDashArray(p, dash, 2);
    }
    return p;
  }

  const Api& api_;
  GpGraphics* g_;
  GpFontFamily* family_ = nullptr;
  GpStringFormat* format_ = nullptr;
  UINT16 ascent_ = 0, em_ = 1;
};

}  // namespace

void startGdiPlus() {
  if (!gApi) gApi.emplace();
}

void endGdiPlus() { gApi.reset(); }

bool drawOn(HDC dc, const ui::Drawing& drawing, int width, int height, int dpi, SIZE area) {
  if (!gApi || !gApi->token || area.cx <= 0 || area.cy <= 0) return false;
  // Drawn on a bitmap of the area's pixels, then copied: GDI+ smooths what it draws on a bitmap
  // everywhere (Wine's does not where it draws on a window), and the box never flickers.
  const Dib canvas(area.cx, area.cy);
  GpBitmap* bitmap = nullptr;
  GpGraphics* g = nullptr;
  const bool ready =
      canvas.ok() &&
      gApi->GdipCreateBitmapFromScan0(area.cx, area.cy, area.cx * 4, PixelFormat32bppRGB,
                                      reinterpret_cast<BYTE*>(canvas.pixels()), &bitmap) == Ok &&
      gApi->GdipGetImageGraphicsContext(bitmap, &g) == Ok;
  if (ready) {
    gApi->GdipGraphicsClear(g, 0xFFFFFFFF);
    gApi->GdipSetSmoothingMode(g, SmoothingModeAntiAlias);
    // Pixel centres at half units, as in the drawings' coordinates.
    gApi->GdipSetPixelOffsetMode(g, PixelOffsetModeHalf);
    gApi->GdipSetTextRenderingHint(g, TextRenderingHintAntiAlias);
    const REAL scale = static_cast<REAL>(dpi) / 96;
    gApi->GdipScaleWorldTransform(g, scale, scale, MatrixOrderPrepend);
    gApi->GdipSetClipRect(g, 0, 0, static_cast<REAL>(width), static_cast<REAL>(height),
                          CombineModeIntersect);
    {
      GdiPlusPainter painter(*gApi, g);
      drawing.draw(painter, width, height);
    }
    gApi->GdipDeleteGraphics(g);
    BitBlt(dc, 0, 0, area.cx, area.cy, canvas.dc(), 0, 0, SRCCOPY);
  }
  if (bitmap) gApi->GdipDisposeImage(bitmap);
  return ready;
}

}  // namespace kalvena::win32
