#pragma once

// A window's face: what never changes on it, its captions, lines and pictures. The windows' own
// code lays it out once at the window's scale and draws it in one pass on the painter, in the
// stacking order of the layout table: captions at the bottom, lines over them, the pictures over
// both as the table lists them. A toolkit makes native controls only for what takes input.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "painter.h"
#include "toolkit.h"

namespace kalvena::ui {

// The windows' font size, in logical pixels (at 96 DPI on Windows): what their twips were laid
// out for.
inline constexpr int kFontPixels = 11;

// How a toolkit's surface measures: where a twip of the layout falls in its pixels, the
// window's font size (a caption shrinks to smallestPixels of it at the least), how many pixels a
// picture's logical pixel takes, how thick a line is, and the colour of text and lines.
struct FaceScale {
  std::function<int(int)> pixels;
  int fontPixels = kFontPixels;
  double pictureScale = 1;
  int lineWidth = 1;
  Color ink = kBlack;
};

// A control of the face as a screen reader finds it: its row in the layout, what it is called
// (a caption without its trailing spaces; a picture's description), its kind and where it lies
// on the surface.
struct FaceObject {
  enum class Role { StaticText, Graphic };
  const ControlSpec* spec;
  std::string name;
  Role role;
  PixelRect bounds;
};

class Face {
 public:
  // Lays the face out, measuring on `measure`: each caption at the largest size, from the
  // window's down to the smallest, whose ink fits its box short of a box or button that lies
  // over its right end, a pixel clear of it; a box two lines high wraps its caption at spaces.
  // Where no size fits, the window's own: a text a few pixels high would read no better (the
  // search the boxes' face is chosen by too, ui::largestFitting).
  Face(const FormLayout& layout, const FaceScale& scale, Painter& measure);

  // Draws every caption, line and picture; the ground is the toolkit's.
  void draw(Painter& painter) const;
  const std::vector<FaceObject>& objects() const { return objects_; }
  // Whether a picture lies at a point of the surface.
  bool pictureAt(int x, int y) const;
  // The object a screen reader finds at a point of the surface, an index into objects(): the
  // topmost there, as the face draws them in this order; nothing where none lies there. The
  // boxes and buttons, which lie over the face, are the toolkit's to find first.
  std::optional<std::size_t> objectAt(int x, int y) const;
  const FaceScale& scale() const { return scale_; }

  // A caption as it is drawn: its lines, its size and where the first baseline starts.
  struct Caption {
    const ControlSpec* spec;
    PixelRect box;
    int pixels;
    std::vector<std::string> lines;
    double ascent;
    double lineSpacing;
  };
  const std::vector<Caption>& captions() const { return captions_; }

 private:
  const FormLayout& layout_;
  FaceScale scale_;
  std::vector<Caption> captions_;
  std::vector<FaceObject> objects_;
};

}  // namespace kalvena::ui
