#include "gdiplus_painter.h"

#include <gdiplus.h>

#include <cmath>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "dib.h"
#include "fonts.h"
#include "gdiplus_api.h"
#include "system_library.h"
#include "utf16.h"

namespace kalvena::win32 {

namespace {

using namespace Gdiplus;

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

}  // namespace

// The painter on a bitmap: GDI+ for the drawings' shapes and texts, GDI for the captions in the
// window's face, as the system draws its controls' texts. Each hands the bitmap to the other
// with its work flushed.
class GdiPlusPainter final : public ui::Painter {
 public:
  GdiPlusPainter(const GdiPlus* api, GpGraphics* g, HDC dc, std::function<HFONT(int)> captionFont)
      : api_(api), g_(g), dc_(dc), captionFont_(std::move(captionFont)) {}
  ~GdiPlusPainter() override {
    if (format_) api_->GdipDeleteStringFormat(format_);
    if (family_) api_->GdipDeleteFontFamily(family_);
  }
  GdiPlusPainter(const GdiPlusPainter&) = delete;
  GdiPlusPainter& operator=(const GdiPlusPainter&) = delete;

  void line(ui::Point from, ui::Point to, const ui::Pen& pen) override {
    if (!g_) return;
    GpPen* p = makePen(pen);
    api_->GdipDrawLine(g_, p, real(from.x), real(from.y), real(to.x), real(to.y));
    api_->GdipDeletePen(p);
  }
  void polyline(std::span<const ui::Point> points, const ui::Pen& pen) override {
    if (!g_) return;
    const std::vector<PointF> pts = pointsOf(points);
    GpPen* p = makePen(pen);
    api_->GdipDrawLines(g_, p, pts.data(), static_cast<INT>(pts.size()));
    api_->GdipDeletePen(p);
  }
  void polygon(std::span<const ui::Point> points, ui::Color fill, const ui::Pen& outline) override {
    if (!g_) return;
    std::vector<PointF> pts = pointsOf(points);
    GpSolidFill* brush = nullptr;
    api_->GdipCreateSolidFill(argb(fill), &brush);
    api_->GdipFillPolygon(g_, brush, pts.data(), static_cast<INT>(pts.size()), FillModeAlternate);
    api_->GdipDeleteBrush(brush);
    if (outline.width > 0 && !pts.empty()) {
      pts.push_back(pts.front());
      GpPen* p = makePen(outline);
      api_->GdipDrawLines(g_, p, pts.data(), static_cast<INT>(pts.size()));
      api_->GdipDeletePen(p);
    }
  }
  void circle(ui::Point centre, double radius, ui::Color fill, const ui::Pen& outline) override {
    if (!g_) return;
    const REAL x = real(centre.x - radius), y = real(centre.y - radius), d = real(2 * radius);
    GpSolidFill* brush = nullptr;
    api_->GdipCreateSolidFill(argb(fill), &brush);
    api_->GdipFillEllipse(g_, brush, x, y, d, d);
    api_->GdipDeleteBrush(brush);
    if (outline.width > 0) {
      GpPen* p = makePen(outline);
      api_->GdipDrawEllipse(g_, p, x, y, d, d);
      api_->GdipDeletePen(p);
    }
  }
  void rectangle(ui::Point topLeft, double width, double height, ui::Color fill) override {
    if (!g_) return;
    GpSolidFill* brush = nullptr;
    api_->GdipCreateSolidFill(argb(fill), &brush);
    api_->GdipFillRectangle(g_, brush, real(topLeft.x), real(topLeft.y), real(width), real(height));
    api_->GdipDeleteBrush(brush);
    GpPen* p = makePen({});
    api_->GdipDrawRectangle(g_, p, real(topLeft.x), real(topLeft.y), real(width), real(height));
    api_->GdipDeletePen(p);
  }
  void arc(ui::Point centre, double radius, double startDegrees, double sweepDegrees,
           const ui::Pen& pen) override {
    if (!g_) return;
    // GDI+ measures angles clockwise, as the painter does.
    GpPen* p = makePen(pen);
    api_->GdipDrawArc(g_, p, real(centre.x - radius), real(centre.y - radius), real(2 * radius),
                      real(2 * radius), real(startDegrees), real(sweepDegrees));
    api_->GdipDeletePen(p);
  }
  void text(ui::Point baseline, std::string_view utf8, ui::Anchor anchor, double pixelSize,
            ui::Color color) override {
    if (!g_) return;
    const std::wstring s = widen(utf8);
    if (!family_) {
      // The face and the text layout, made once for all the drawing's texts.
      if (api_->GdipCreateFontFamilyFromName(pictureFace(), nullptr, &family_) != Ok) return;
      api_->GdipGetCellAscent(family_, FontStyleRegular, &ascent_);
      api_->GdipGetEmHeight(family_, FontStyleRegular, &em_);
      // Without the padding that GDI+ puts around a text by default.
      api_->GdipStringFormatGetGenericTypographic(&format_);
    }
    GpFont* font = nullptr;
    GpSolidFill* brush = nullptr;
    api_->GdipCreateFont(family_, real(pixelSize), FontStyleRegular, UnitWorld, &font);
    api_->GdipCreateSolidFill(argb(color), &brush);
    const RectF unbounded(0, 0, 0, 0);
    RectF bounds{};
    api_->GdipMeasureString(g_, s.c_str(), static_cast<INT>(s.size()), font, &unbounded, format_,
                            &bounds, nullptr, nullptr);
    double x = baseline.x;
    if (anchor == ui::Anchor::Middle) x -= bounds.Width / 2;
    if (anchor == ui::Anchor::End) x -= bounds.Width;
    // GDI+ places a text by the top of its line; the baseline lies the face's ascent below.
    const RectF at(real(x), real(baseline.y - pixelSize * ascent_ / em_), 0, 0);
    api_->GdipDrawString(g_, s.c_str(), static_cast<INT>(s.size()), font, &at, format_, brush);
    api_->GdipDeleteBrush(brush);
    api_->GdipDeleteFont(font);
  }

  void caption(ui::Point baseline, std::string_view utf8, int pixelSize, ui::Color color) override {
    HFONT font = captionFont_(pixelSize);
    if (!font) return;
    const std::wstring s = widen(utf8);
    if (g_) api_->GdipFlush(g_, FlushIntentionSync);
    HGDIOBJ old = SelectObject(dc_, font);
    SetTextColor(dc_, RGB(color.red, color.green, color.blue));
    SetBkMode(dc_, TRANSPARENT);
    SetTextAlign(dc_, TA_LEFT | TA_BASELINE | TA_NOUPDATECP);
    const POINT at = device(baseline);
    ExtTextOutW(dc_, at.x, at.y, 0, nullptr, s.c_str(), static_cast<UINT>(s.size()), nullptr);
    SelectObject(dc_, old);
    GdiFlush();
  }
  ui::TextExtent captionExtent(std::string_view utf8, int pixelSize) override {
    HFONT font = captionFont_(pixelSize);
    if (!font) return {};
    const std::wstring s = widen(utf8);
    HGDIOBJ old = SelectObject(dc_, font);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc_, &tm);
    SIZE size{};
    GetTextExtentPoint32W(dc_, s.c_str(), static_cast<int>(s.size()), &size);
    SelectObject(dc_, old);
    return {static_cast<double>(size.cx), static_cast<double>(tm.tmAscent),
            static_cast<double>(tm.tmDescent), static_cast<double>(tm.tmHeight)};
  }
  ui::Coverage captionCoverage(std::string_view utf8, int pixelSize, double advance) override {
    HFONT font = captionFont_(pixelSize);
    if (!font) return {};
    return win32::captionCoverage(font, widen(utf8), static_cast<int>(advance) + 64, false);
  }
  void fill(ui::Point topLeft, double width, double height, ui::Color color) override {
    if (g_) api_->GdipFlush(g_, FlushIntentionSync);
    const POINT a = device(topLeft), b = device({topLeft.x + width, topLeft.y + height});
    RECT r{a.x, a.y, b.x, b.y};
    if (view_) IntersectRect(&r, &r, &clip_);
    const Gdi<HBRUSH> brush(CreateSolidBrush(RGB(color.red, color.green, color.blue)));
    FillRect(dc_, &r, brush.get());
    GdiFlush();
  }
  void beginView(ui::Point origin, double scale, double width, double height) override {
    if (g_) {
      api_->GdipSaveGraphics(g_, &saved_);
      api_->GdipTranslateWorldTransform(g_, real(origin.x), real(origin.y), MatrixOrderPrepend);
      api_->GdipScaleWorldTransform(g_, real(scale), real(scale), MatrixOrderPrepend);
      api_->GdipSetClipRect(g_, 0, 0, real(width), real(height), CombineModeIntersect);
    }
    origin_ = origin;
    scale_ = scale;
    view_ = true;
    const POINT end = device({width, height});
    clip_ = {static_cast<LONG>(origin.x), static_cast<LONG>(origin.y), end.x, end.y};
    SaveDC(dc_);
    IntersectClipRect(dc_, clip_.left, clip_.top, clip_.right, clip_.bottom);
  }
  void endView() override {
    RestoreDC(dc_, -1);
    if (g_) api_->GdipRestoreGraphics(g_, saved_);
    origin_ = {0, 0};
    scale_ = 1;
    view_ = false;
  }

 private:
  POINT device(ui::Point p) const {
    return {static_cast<LONG>(std::lround(origin_.x + p.x * scale_)),
            static_cast<LONG>(std::lround(origin_.y + p.y * scale_))};
  }

  GpPen* makePen(const ui::Pen& pen) const {
    GpPen* p = nullptr;
    api_->GdipCreatePen1(argb(pen.color), real(pen.width), UnitWorld, &p);
    api_->GdipSetPenLineJoin(p, LineJoinRound);
    if (pen.dashed) {
      // Two pixels drawn, two left out; GDI+ counts in pen widths.
      const REAL dash[] = {real(2 / pen.width), real(2 / pen.width)};
      api_->GdipSetPenDashArray(p, dash, 2);
    }
    return p;
  }

  const GdiPlus* api_;  // null, with g_, where GDI+ is not running
  GpGraphics* g_;
  HDC dc_;
  std::function<HFONT(int)> captionFont_;
  ui::Point origin_{0, 0};
  double scale_ = 1;
  bool view_ = false;
  RECT clip_{};
  GraphicsState saved_ = 0;
  GpFontFamily* family_ = nullptr;
  GpStringFormat* format_ = nullptr;
  UINT16 ascent_ = 0, em_ = 1;
};

bool withPainter(SIZE size, COLORREF ground, const std::function<HFONT(int)>& captionFont,
                 const std::function<void(ui::Painter&, const Dib&)>& use) {
  if (size.cx <= 0 || size.cy <= 0) return false;
  // GDI+ draws on a bitmap rather than on the window: it smooths what it draws on a bitmap
  // everywhere (Wine's does not where it draws on a window), and nothing flickers.
  const Dib canvas(size.cx, size.cy);
  if (!canvas.ok()) return false;
  const Gdi<HBRUSH> brush(CreateSolidBrush(ground));
  const RECT all{0, 0, size.cx, size.cy};
  FillRect(canvas.dc(), &all, brush.get());
  GdiFlush();
  GdiPlus* api = gdiPlus();
  const bool drawing = api != nullptr;
  GpBitmap* bitmap = nullptr;
  GpGraphics* g = nullptr;
  if (drawing &&
      api->GdipCreateBitmapFromScan0(size.cx, size.cy, size.cx * 4, PixelFormat32bppRGB,
                                     reinterpret_cast<BYTE*>(canvas.pixels()), &bitmap) == Ok &&
      api->GdipGetImageGraphicsContext(bitmap, &g) == Ok) {
    api->GdipSetSmoothingMode(g, SmoothingModeAntiAlias);
    // Pixel centres at half units, as in the drawings' coordinates.
    api->GdipSetPixelOffsetMode(g, PixelOffsetModeHalf);
    api->GdipSetTextRenderingHint(g, TextRenderingHintAntiAlias);
  }
  {
    // Without GDI+ (noted when it failed to start) the captions and lines are drawn still.
    GdiPlusPainter painter(g ? api : nullptr, g, canvas.dc(), captionFont);
    use(painter, canvas);
  }
  if (g) api->GdipDeleteGraphics(g);
  if (bitmap) api->GdipDisposeImage(bitmap);
  return g != nullptr;
}

bool drawOn(HDC dc, const ui::Drawing& drawing, int width, int height, int dpi, SIZE area) {
  return withPainter(area, RGB(255, 255, 255), {}, [&](ui::Painter& p, const Dib& canvas) {
    p.beginView({0, 0}, dpi / 96.0, width, height);
    drawing.draw(p, width, height);
    p.endView();
    BitBlt(dc, 0, 0, area.cx, area.cy, canvas.dc(), 0, 0, SRCCOPY);
  });
}

}  // namespace kalvena::win32
