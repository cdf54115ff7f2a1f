#include "result_glyphs.h"

#include <QImage>

#include <cmath>
#include <unordered_map>

#include "ink.h"

namespace kalvena::qt {

// A character drawn once on a clear image at a device pixel ratio, its origin on a whole
// device pixel, as the coverage of its pixels.
const ui::Glyph& glyphOf(const QFont& font, qreal dpr, QChar c) {
  // A text keeps references to its glyphs while more are added: the map's elements stay where
  // they are when it grows (a QHash moves them).
  static std::unordered_map<QString, ui::Glyph> known;
  const QString key = font.key() + u'|' + QString::number(dpr) + u'|' + c;
  if (const auto found = known.find(key); found != known.end()) return found->second;
  const QFontMetricsF fm(font);
  const int pad = static_cast<int>(std::ceil(fm.height() * dpr));
  const int width = static_cast<int>(std::ceil(fm.horizontalAdvance(c) * dpr)) + 2 * pad;
  QImage image(width, 2 * pad, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  // Drawn at the device's size in an image of scale 1, so that nothing is scaled afterwards.
  QFont device = font;
  device.setPixelSize(static_cast<int>(std::lround(font.pixelSize() * dpr)));
  {
    QPainter painter(&image);
    painter.setFont(device);
    painter.setPen(Qt::black);
    painter.drawText(QPoint(pad, pad), QString(c));
  }
  // A smoothed point at 8 to 11 pixels is a pale grey blur that the eye passes over ("0.8"
  // reads as "08"): the decimal separator's pixels are either ink or ground.
  const bool separator = c == u'.' || c == u',';
  std::vector<std::uint8_t> coverage;
  coverage.reserve(static_cast<std::size_t>(width * image.height()));
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < width; ++x) {
      const int a = qAlpha(line[x]);
      coverage.push_back(static_cast<std::uint8_t>(
          separator ? (ui::isInk(static_cast<std::uint8_t>(a)) ? 255 : 0) : a));
    }
  }
  const int advance = static_cast<int>(std::lround(QFontMetricsF(device).horizontalAdvance(c)));
  return known
      .emplace(key, ui::makeGlyph(advance, -pad, -pad, width, image.height(), std::move(coverage)))
      .first->second;
}

ui::ResultLine layOut(const QLineEdit& box, BoxGlyphs& glyphs) {
  const qreal dpr = glyphs.dpr();
  const int available = static_cast<int>(std::floor((box.width() - 2 * kOutputTextIndent) * dpr));
  return ui::layOutResult(box.text().toStdString(), available, ui::clearColumn(dpr), glyphs);
}

void draw(QPainter& painter, const ui::ResultLine& line, BoxGlyphs& glyphs, QPoint start,
          const QColor& colour) {
  if (line.characters.empty()) return;
  const int pad = -glyphs.glyph(line.size, "0").top;
  QImage image(line.width + 2 * pad, 2 * pad, QImage::Format_ARGB32_Premultiplied);
  const std::vector<std::uint8_t> coverage =
      ui::coverLine(line, glyphs, image.width(), image.height(), pad, pad);
  for (int y = 0; y < image.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const QRgb a = coverage[static_cast<std::size_t>(y * image.width() + x)];
      row[x] = qPremultiply((colour.rgb() & 0xFFFFFF) | a << 24);
    }
  }
  image.setDevicePixelRatio(glyphs.dpr());
  painter.drawImage(QPointF(start - QPoint(pad, pad)) / glyphs.dpr(), image);
}

}  // namespace kalvena::qt
