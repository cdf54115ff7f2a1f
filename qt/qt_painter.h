#pragma once

// The pictures' painter on QPainter, antialiased; the QPainter's own transform carries the
// device pixel ratio, so that a drawing is exact at any scale.

#include <QPainter>

#include "painter.h"

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

 private:
  QPainter& p_;
};

}  // namespace kalvena::qt
