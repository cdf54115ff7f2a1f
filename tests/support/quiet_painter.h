#pragma once

// A painter that draws and measures nothing: a test's recorder derives from it and overrides
// only what it records.

#include "painter.h"

namespace kalvena::ui::test {

class QuietPainter : public Painter {
 public:
  void line(Point, Point, const Pen&) override {}
  void polyline(std::span<const Point>, const Pen&) override {}
  void polygon(std::span<const Point>, Color, const Pen&) override {}
  void circle(Point, double, Color, const Pen&) override {}
  void rectangle(Point, double, double, Color) override {}
  void arc(Point, double, double, double, const Pen&) override {}
  void text(Point, std::string_view, Anchor, double, Color) override {}
  void caption(Point, std::string_view, int, Color) override {}
  TextExtent captionExtent(std::string_view, int) override { return {}; }
  Coverage captionCoverage(std::string_view, int, double) override { return {}; }
  void fill(Point, double, double, Color) override {}
  void beginView(Point, double, double, double) override {}
  void endView() override {}
};

}  // namespace kalvena::ui::test
