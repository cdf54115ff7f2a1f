#pragma once

// The painter on QPainter: the drawings antialiased, the captions in the program's font as a
// label draws them; the QPainter's own transform carries the device pixel ratio, so that a
// drawing is exact at any scale.

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <map>

#include "painter.h"
#include "pictures.h"

namespace kalvena::qt {

class QtPainter final : public ui::Painter {
 public:
  explicit QtPainter(QPainter& painter);

  void line(ui::Point from, ui::Point to, const ui::Pen& pen) override;
  void polyline(std::span<const ui::Point> points, const ui::Pen& pen) override;
  void polygon(std::span<const ui::Point> points, ui::Color fill, const ui::Pen& outline) override;
  void circle(ui::Point centre, double radius, ui::Color fill, const ui::Pen& outline) override;
  void rectangle(ui::Point topLeft, double width, double height, ui::Color fill) override;
  void arc(ui::Point centre, double radius, double startDegrees, double sweepDegrees,
           const ui::Pen& pen) override;
  void text(ui::Point baseline, std::string_view utf8, ui::Anchor anchor, double pixelSize,
            ui::Color color) override;
  void caption(ui::Point baseline, std::string_view utf8, int pixelSize, ui::Color color) override;
  ui::TextExtent captionExtent(std::string_view utf8, int pixelSize) override;
  ui::Coverage captionCoverage(std::string_view utf8, int pixelSize, double advance) override;
  ui::TextExtent captionInkBounds(std::string_view utf8, int pixelSize) override;
  void fill(ui::Point topLeft, double width, double height, ui::Color color) override;
  void beginView(ui::Point origin, double scale, double width, double height) override;
  void endView() override;

 private:
  // The windows' font at a size, and its metrics, made once per painter: a face is laid out
  // with some eighty measures and its pictures draw some thirty labels, and each font made anew
  // is looked up anew.
  struct SizedFont {
    QFont font;
    QFontMetricsF metrics;
  };
  const SizedFont& fontAt(int pixelSize);

  QPainter& p_;
  std::map<int, SizedFont> fonts_;
  QImage ink_;  // where captionCoverage draws; kept, and with it its paint engine
};

// What an RGB32 image drawn black on white covers, of its top-left `size` pixels (all of it where
// no size is given), the start of its baseline at `origin`.
ui::Coverage coverageOf(const QImage& image, QPoint origin, QSize size = {});

// A drawing's whole bitmap, `bitmap` logical pixels on a white ground, drawn at a device pixel
// ratio.
QImage render(const ui::Drawing& drawing, QSize bitmap, qreal devicePixelRatio);

}  // namespace kalvena::qt
