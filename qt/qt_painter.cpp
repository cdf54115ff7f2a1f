#include "qt_painter.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <QPolygonF>

#include "qt_toolkit.h"

namespace kalvena::qt {

namespace {

QColor colorOf(ui::Color c) { return QColor(c.red, c.green, c.blue); }

QPen penOf(const ui::Pen& pen) {
  if (pen.width <= 0) return QPen(Qt::NoPen);
  QPen p(colorOf(pen.color), pen.width);
  p.setCapStyle(Qt::FlatCap);
  p.setJoinStyle(Qt::RoundJoin);
  // Two pixels drawn, two left out; Qt counts in pen widths.
  if (pen.dashed) p.setDashPattern({2 / pen.width, 2 / pen.width});
  return p;
}

QPolygonF polygonOf(std::span<const ui::Point> points) {
  QPolygonF polygon;
  polygon.reserve(static_cast<qsizetype>(points.size()));
  for (const ui::Point& p : points) polygon << QPointF(p.x, p.y);
  return polygon;
}

}  // namespace

QtPainter::QtPainter(QPainter& painter) : p_(painter) {
  p_.setRenderHint(QPainter::Antialiasing);
  p_.setRenderHint(QPainter::TextAntialiasing);
}

void QtPainter::line(ui::Point from, ui::Point to, const ui::Pen& pen) {
  p_.setPen(penOf(pen));
  p_.drawLine(QPointF(from.x, from.y), QPointF(to.x, to.y));
}

void QtPainter::polyline(std::span<const ui::Point> points, const ui::Pen& pen) {
  p_.setPen(penOf(pen));
  p_.setBrush(Qt::NoBrush);
  p_.drawPolyline(polygonOf(points));
}

void QtPainter::polygon(std::span<const ui::Point> points, ui::Color fill, const ui::Pen& outline) {
  p_.setPen(penOf(outline));
  p_.setBrush(colorOf(fill));
  p_.drawPolygon(polygonOf(points));
}

void QtPainter::circle(ui::Point centre, double radius, ui::Color fill, const ui::Pen& outline) {
  p_.setPen(penOf(outline));
  p_.setBrush(colorOf(fill));
  p_.drawEllipse(QPointF(centre.x, centre.y), radius, radius);
}

void QtPainter::rectangle(ui::Point topLeft, double width, double height, ui::Color fill) {
  p_.setPen(penOf({}));
  p_.setBrush(colorOf(fill));
  p_.drawRect(QRectF(topLeft.x, topLeft.y, width, height));
}

void QtPainter::arc(ui::Point centre, double radius, double startDegrees, double sweepDegrees,
                    const ui::Pen& pen) {
  // Qt measures angles counter-clockwise on the screen.
  const QRectF box(centre.x - radius, centre.y - radius, 2 * radius, 2 * radius);
  QPainterPath path;
  path.arcMoveTo(box, -startDegrees);
  path.arcTo(box, -startDegrees, -sweepDegrees);
  p_.setPen(penOf(pen));
  p_.setBrush(Qt::NoBrush);
  p_.drawPath(path);
}

void QtPainter::text(ui::Point baseline, std::string_view utf8, ui::Anchor anchor, double pixelSize,
                     ui::Color color) {
  QFont font = programFont();
  font.setPixelSize(qRound(pixelSize));
  const QString s = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  double x = baseline.x;
  if (anchor != ui::Anchor::Start) {
    const double width = QFontMetricsF(font).horizontalAdvance(s);
    x -= anchor == ui::Anchor::Middle ? width / 2 : width;
  }
  p_.setFont(font);
  p_.setPen(colorOf(color));
  p_.drawText(QPointF(x, baseline.y), s);
}

}  // namespace kalvena::qt
