#include "qt_painter.h"

#include <QImage>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

#include "ink.h"
#include "qt_toolkit.h"

namespace kalvena::qt {

namespace {

QColor colorOf(ui::Color c) { return QColor(c.red, c.green, c.blue); }

QPen penOf(const ui::Pen& pen) {
  if (pen.width <= 0) return QPen(Qt::NoPen);
  QPen p(colorOf(pen.color), pen.width);
  p.setCapStyle(Qt::FlatCap);
  p.setJoinStyle(pen.bevelled ? Qt::BevelJoin : Qt::RoundJoin);
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
  const SizedFont& font = fontAt(qRound(pixelSize));
  const QString s = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  double x = baseline.x;
  if (anchor != ui::Anchor::Start) {
    const double width = font.metrics.horizontalAdvance(s);
    x -= anchor == ui::Anchor::Middle ? width / 2 : width;
  }
  p_.setFont(font.font);
  p_.setPen(colorOf(color));
  p_.drawText(QPointF(x, baseline.y), s);
}

const QtPainter::SizedFont& QtPainter::fontAt(int pixelSize) {
  auto it = fonts_.find(pixelSize);
  if (it == fonts_.end()) {
    QFont font = programFont();
    font.setPixelSize(pixelSize);
    it = fonts_.emplace(pixelSize, SizedFont{font, QFontMetricsF(font)}).first;
  }
  return it->second;
}

void QtPainter::caption(ui::Point baseline, std::string_view utf8, int pixelSize, ui::Color color) {
  p_.setFont(fontAt(pixelSize).font);
  p_.setPen(colorOf(color));
  p_.drawText(QPointF(baseline.x, baseline.y),
              QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

ui::TextExtent QtPainter::captionExtent(std::string_view utf8, int pixelSize) {
  const QFontMetricsF& fm = fontAt(pixelSize).metrics;
  const double advance =
      fm.horizontalAdvance(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
  return {advance, fm.ascent(), fm.descent(), fm.lineSpacing(), 0, 0, 0, 0};
}

ui::TextExtent QtPainter::captionInkBounds(std::string_view utf8, int pixelSize) {
  // Qt's bounding rectangle of a text covers at least every pixel the text inks.
  const QRectF r = fontAt(pixelSize).metrics.boundingRect(
      QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
  ui::TextExtent e;
  e.inkLeft = std::floor(r.left());
  e.inkTop = std::floor(r.top());
  e.inkRight = std::ceil(r.right());
  e.inkBottom = std::ceil(r.bottom());
  return e;
}

ui::Coverage QtPainter::captionCoverage(std::string_view utf8, int pixelSize, double advance) {
  // Room for ink past the advance on either side, and a few rows past the face's ascent and
  // descent.
  const QFontMetricsF& fm = fontAt(pixelSize).metrics;
  const int pad = pixelSize, rows = 3;
  const int baseline = static_cast<int>(std::ceil(fm.ascent())) + rows;
  const QSize size(static_cast<int>(std::ceil(advance)) + 2 * pad,
                   baseline + static_cast<int>(std::ceil(fm.descent())) + rows);
  if (ink_.width() < size.width() || ink_.height() < size.height()) {
    ink_ = QImage(size.expandedTo(ink_.size()), QImage::Format_RGB32);
  }
  ink_.fill(Qt::white);
  {
    QPainter painter(&ink_);
    painter.setFont(fontAt(pixelSize).font);
    painter.setPen(Qt::black);
    painter.drawText(QPointF(pad, baseline),
                     QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
  }
  return coverageOf(ink_, {pad, baseline}, size);
}

ui::Coverage coverageOf(const QImage& image, QPoint origin, QSize size) {
  if (!size.isValid()) size = image.size();
  ui::Coverage drawn{size.width(), size.height(), origin.x(), origin.y(), {}};
  drawn.values.resize(static_cast<std::size_t>(size.width() * size.height()));
  std::uint8_t* covered = drawn.values.data();
  for (int y = 0; y < size.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < size.width(); ++x) {
      *covered++ = ui::coverageOfGrey(qRed(line[x]), qGreen(line[x]), qBlue(line[x]));
    }
  }
  return drawn;
}

void QtPainter::fill(ui::Point topLeft, double width, double height, ui::Color color) {
  // On whole pixels, crisp at any scale.
  p_.save();
  p_.setRenderHint(QPainter::Antialiasing, false);
  p_.fillRect(QRectF(topLeft.x, topLeft.y, width, height), colorOf(color));
  p_.restore();
}

void QtPainter::beginView(ui::Point origin, double scale, double width, double height) {
  p_.save();
  p_.translate(origin.x, origin.y);
  p_.scale(scale, scale);
  p_.setClipRect(QRectF(0, 0, width, height), Qt::IntersectClip);
}

void QtPainter::endView() { p_.restore(); }

QImage render(const ui::Drawing& drawing, QSize bitmap, qreal devicePixelRatio) {
  QImage image((QSizeF(bitmap) * devicePixelRatio).toSize(), QImage::Format_RGB32);
  image.setDevicePixelRatio(devicePixelRatio);
  image.fill(Qt::white);
  QPainter painter(&image);
  QtPainter drawn(painter);
  drawing.draw(drawn, bitmap.width(), bitmap.height());
  return image;
}

}  // namespace kalvena::qt
