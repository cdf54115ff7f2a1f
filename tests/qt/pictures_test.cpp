// The schematics' labels stand clear of every line of their drawing, at 1x and at 2x: the
// drawing is recorded on a painter that keeps its strokes and measures its texts' ink in the
// windows' face.

#include <QFontMetricsF>

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "pictures.h"
#include "qt_toolkit.h"
#include "quiet_painter.h"

namespace kalvena::ui::test {
namespace {

struct Stroke {
  Point from, to;
  double halfWidth;
};
struct Label {
  std::string text;
  QRectF ink;
};

class Recorder final : public QuietPainter {
 public:
  explicit Recorder(double scale) : scale_(scale) {}
  std::vector<Stroke> strokes;
  std::vector<Label> labels;

  void line(Point from, Point to, const Pen& pen) override { add(from, to, pen.width); }
  void polyline(std::span<const Point> points, const Pen& pen) override {
    for (std::size_t i = 1; i < points.size(); ++i) add(points[i - 1], points[i], pen.width);
  }
  void polygon(std::span<const Point> points, Color, const Pen& outline) override {
    for (std::size_t i = 0; i < points.size(); ++i) {
      add(points[i], points[(i + 1) % points.size()], std::max(outline.width, 1.0));
    }
  }
  void circle(Point centre, double radius, Color, const Pen& outline) override {
    arc(centre, radius, 0, 360, {kBlack, std::max(outline.width, 1.0), false});
  }
  void rectangle(Point p, double width, double height, Color) override {
    polygon(
        std::vector<Point>{p, {p.x + width, p.y}, {p.x + width, p.y + height}, {p.x, p.y + height}},
        kWhite, {kBlack, 1, false});
  }
  void arc(Point c, double r, double start, double sweep, const Pen& pen) override {
    const int steps = 24;
    const auto at = [&](int i) {
      const double a = (start + sweep * i / steps) * M_PI / 180;
      return Point{c.x + r * std::cos(a), c.y + r * std::sin(a)};
    };
    for (int i = 1; i <= steps; ++i) add(at(i - 1), at(i), pen.width);
  }
  void text(Point baseline, std::string_view utf8, Anchor anchor, double pixelSize,
            Color) override {
    // Measured at the scale's pixels, as the window draws it there.
    QFont font = qt::programFont();
    font.setPixelSize(qRound(pixelSize * scale_));
    const QFontMetricsF fm(font);
    const QString s = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    const double advance = fm.horizontalAdvance(s) / scale_;
    double x = baseline.x;
    if (anchor != Anchor::Start) x -= anchor == Anchor::Middle ? advance / 2 : advance;
    const QRectF ink = fm.tightBoundingRect(s);
    labels.push_back({std::string(utf8), QRectF(x + ink.x() / scale_, baseline.y + ink.y() / scale_,
                                                ink.width() / scale_, ink.height() / scale_)});
  }
  // A window's face is not drawn here.

 private:
  void add(Point a, Point b, double width) {
    if (width > 0) strokes.push_back({a, b, width / 2});
  }
  double scale_;
};

// Whether a stroke passes within its half width, and half a pixel more, of a rectangle.
bool touches(const Stroke& s, const QRectF& r) {
  const QRectF near =
      r.adjusted(-s.halfWidth - 0.5, -s.halfWidth - 0.5, s.halfWidth + 0.5, s.halfWidth + 0.5);
  const double length = std::hypot(s.to.x - s.from.x, s.to.y - s.from.y);
  const int steps = std::max(1, static_cast<int>(length * 8));
  for (int i = 0; i <= steps; ++i) {
    const double t = static_cast<double>(i) / steps;
    if (near.contains(s.from.x + t * (s.to.x - s.from.x), s.from.y + t * (s.to.y - s.from.y))) {
      return true;
    }
  }
  return false;
}

TEST(Pictures, EverySchematicLabelStandsClearOfItsLines) {
  int labels = 0;
  for (const double scale : {1.0, 2.0}) {
    for (const Drawing& d : drawings()) {
      if (!std::string(d.name).ends_with("_schematic")) continue;
      Recorder recorder(scale);
      d.draw(recorder, 0, 0);
      for (const Label& label : recorder.labels) {
        ++labels;
        for (const Stroke& s : recorder.strokes) {
          EXPECT_FALSE(touches(s, label.ink))
              << d.name << " at " << scale << "x: \"" << label.text << "\" touches the line from "
              << s.from.x << "," << s.from.y << " to " << s.to.x << "," << s.to.y;
        }
      }
    }
  }
  EXPECT_GE(labels, 2 * 20);
}

}  // namespace
}  // namespace kalvena::ui::test
