#pragma once

// What the pictures are drawn on: a small painter that each toolkit implements once (QPainter,
// GDI+) and scales to its device, so that a drawing is exact at any scale. Coordinates are the
// logical pixels of the picture's bitmap, x to the right and y down. A primitive is added only
// when a drawing needs it.

#include <cstdint>
#include <span>
#include <string_view>

namespace kalvena::ui {

struct Point {
  double x;
  double y;
};

struct Color {
  std::uint8_t red;
  std::uint8_t green;
  std::uint8_t blue;
  friend bool operator==(const Color&, const Color&) = default;
};

inline constexpr Color kBlack{0, 0, 0};
inline constexpr Color kWhite{255, 255, 255};

// How a line is stroked: a colour, a width, and whether it is dashed (two pixels drawn, two
// left out). Lines join round. A width of 0 strokes nothing.
struct Pen {
  Color color = kBlack;
  double width = 1;
  bool dashed = false;
};

inline constexpr Pen kNoOutline{kBlack, 0, false};

// Where a text's baseline point lies: at its start, its middle or its end.
enum class Anchor { Start, Middle, End };

class Painter {
 public:
  virtual ~Painter() = default;

  virtual void line(Point from, Point to, const Pen& pen) = 0;
  virtual void polyline(std::span<const Point> points, const Pen& pen) = 0;
  // Filled, then outlined.
  virtual void polygon(std::span<const Point> points, Color fill, const Pen& outline) = 0;
  virtual void circle(Point centre, double radius, Color fill, const Pen& outline) = 0;
  // Filled, and outlined in black one pixel wide.
  virtual void rectangle(Point topLeft, double width, double height, Color fill) = 0;
  // Part of a circle, stroked: from `startDegrees` through `sweepDegrees`, both measured
  // clockwise on the screen from the direction of +x.
  virtual void arc(Point centre, double radius, double startDegrees, double sweepDegrees,
                   const Pen& pen) = 0;
  // One line of text in the windows' face (Liberation Sans or Arial) at a pixel size.
  virtual void text(Point baseline, std::string_view utf8, Anchor anchor, double pixelSize,
                    Color color) = 0;
};

}  // namespace kalvena::ui
