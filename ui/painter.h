#pragma once

// What a window's face and its pictures are drawn on: a small painter that each toolkit
// implements once (QPainter; GDI and GDI+) and scales to its device, so that a drawing is exact
// at any scale. Coordinates are the pixels of the surface (a picture's logical pixels inside a
// view), x to the right and y down. A primitive is added only when a drawing needs it.

#include <algorithm>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

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
  // A curve of hundreds of short segments has them meet bevelled: at that density a round join
  // looks the same and costs an arc a point.
  bool bevelled = false;
};

inline constexpr Pen kNoOutline{kBlack, 0, false};

// Whole pixels: a rectangle's top-left corner and its size.
struct PixelRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// The smallest a caption or a result is drawn, in the pixels of a window whose font is
// `fontPixels` high: seven tenths of it, never less.
constexpr int smallestPixels(int fontPixels) { return std::max(1, (fontPixels * 7 + 9) / 10); }

// Where a text's baseline point lies: at its start, its middle or its end.
enum class Anchor { Start, Middle, End };

// How one line of a caption lies: how far it advances, where the baseline lies below the top of
// its line and how far the face reaches below it, how far apart its lines are, and (measured
// only where asked for) where its ink is, from the start of the baseline, y down; left == right
// where it has none.
struct TextExtent {
  double advance = 0;
  double ascent = 0;
  double descent = 0;
  double lineSpacing = 0;
  double inkLeft = 0;
  double inkTop = 0;
  double inkRight = 0;
  double inkBottom = 0;
};

// A text as a toolkit rasterised it, black on white: rows of `width` values from 0 (ground) to
// 255 (ink), the start of its baseline at (originX, originY). What of it is ink is the windows'
// code's to say (ink.h).
struct Coverage {
  int width = 0;
  int height = 0;
  int originX = 0;
  int originY = 0;
  std::vector<std::uint8_t> values;
};

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

  // What a window's face needs besides: its captions, one line each, in the window's own face
  // at a whole pixel size, drawn as the system draws its controls' texts, and measured by the
  // ink the painter would put down (captionInk in ink.h).
  virtual void caption(Point baseline, std::string_view utf8, int pixelSize, Color color) = 0;
  virtual TextExtent captionExtent(std::string_view utf8, int pixelSize) = 0;  // without the ink
  // The caption drawn as caption() draws it, unclipped, with room around it for ink that
  // reaches past its advance (as captionExtent gave it).
  virtual Coverage captionCoverage(std::string_view utf8, int pixelSize, double advance) = 0;
  // A box (in the ink fields) that holds every pixel of the caption's ink, where the painter
  // has one for less than drawing the caption takes; nothing (left == right) otherwise.
  virtual TextExtent captionInkBounds(std::string_view, int) { return {}; }
  // A rectangle filled, without an outline.
  virtual void fill(Point topLeft, double width, double height, Color color) = 0;
  // Until endView(), coordinates start at `origin`, `scale` pixels a unit, and what is drawn is
  // clipped to `width` by `height` units from there. Views do not nest.
  virtual void beginView(Point origin, double scale, double width, double height) = 0;
  virtual void endView() = 0;
};

}  // namespace kalvena::ui
