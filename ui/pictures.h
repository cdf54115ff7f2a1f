#pragma once

// The response graphs and schematics of both windows, drawn on a painter in the logical pixels
// of their bitmaps: white ground, black drawing and, in the graphs, a red response curve.
// Everything that matters lies inside the part of the bitmap that its picture box shows (the
// box clips the bitmap at the right and bottom, and a box stacked over it hides its part).

#include <span>
#include <string_view>

#include "painter.h"

namespace kalvena::ui {

struct Drawing {
  const char* name;  // the picture box's image in the layout table
  // Draws the picture into a bitmap of `width` by `height` pixels, whose ground is already there.
  void (*draw)(Painter& painter, int width, int height);
};

// The twelve drawings.
std::span<const Drawing> drawings();
// A drawing by its name; null where there is none.
const Drawing* drawingNamed(std::string_view name);
// The program's icon, a sun, 32 by 32 pixels on a transparent ground.
const Drawing& sunIcon();

}  // namespace kalvena::ui
