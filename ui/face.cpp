#include "face.h"

#include <algorithm>
#include <map>

#include "ink.h"
#include "pictures.h"

namespace kalvena::ui {

namespace {

// The extents of a painter's captions, each text at a size measured once: a caption's lines are
// measured again as it is wrapped and fitted.
class CaptionExtents {
 public:
  explicit CaptionExtents(Painter& painter) : painter_(painter) {}
  const TextExtent& operator()(std::string_view utf8, int pixels) {
    auto found = known_.find(std::pair{pixels, utf8});
    if (found == known_.end()) {
      found =
          known_.emplace(std::pair{pixels, std::string(utf8)}, painter_.captionExtent(utf8, pixels))
              .first;
    }
    return found->second;
  }

 private:
  struct Less {
    using is_transparent = void;
    template <class A, class B>
    bool operator()(const A& a, const B& b) const {
      return std::pair<int, std::string_view>(a.first, a.second) <
             std::pair<int, std::string_view>(b.first, b.second);
    }
  };
  Painter& painter_;
  std::map<std::pair<int, std::string>, TextExtent, Less> known_;
};

// The caption broken at spaces into lines no wider than `width`, as the system wraps a label's
// text: a word that does not fit on its own stays whole on its line.
std::vector<std::string> wrapped(CaptionExtents& extent, std::string_view caption, int pixels,
                                 int width) {
  std::vector<std::string> lines;
  std::string line;
  std::size_t at = 0;
  while (at < caption.size()) {
    const std::size_t space = caption.find(' ', at);
    const std::size_t end = space == std::string_view::npos ? caption.size() : space;
    const std::string_view word = caption.substr(at, end - at);
    const std::string candidate = line.empty() ? std::string(word) : line + " " + std::string(word);
    if (!line.empty() && extent(trimmedEnd(candidate), pixels).advance > width) {
      lines.push_back(line);
      line = std::string(word);
    } else {
      line = candidate;
    }
    at = end + 1;
  }
  if (!line.empty() || lines.empty()) lines.push_back(line);
  return lines;
}

}  // namespace

Face::Face(const FormLayout& layout, const FaceScale& scale, Painter& measure)
    : layout_(layout), scale_(scale) {
  const auto rectOf = [&](const ControlSpec& s) {
    return PixelRect{scale_.pixels(s.left), scale_.pixels(s.top), scale_.pixels(s.width),
                     scale_.pixels(s.height)};
  };
  CaptionExtents extent(measure);
  const double oneLine = extent("Ag", scale_.fontPixels).lineSpacing;
  for (const ControlSpec& spec : layout.controls) {
    if (spec.type != ControlType::Label) continue;
    const PixelRect box = rectOf(spec);
    // Where the caption may ink: its box, short of what lies over its right end.
    int roomWidth = box.width;
    for (const ControlSpec& other : layout.controls) {
      if (!takesInput(other.type)) continue;
      const PixelRect r = rectOf(other);
      const bool overlaps = r.top < box.top + box.height && box.top < r.top + r.height;
      if (overlaps && r.left > box.left && r.left <= box.left + roomWidth) {
        roomWidth = r.left - 1 - box.left;
      }
    }
    const bool wraps = box.height >= 2 * oneLine;
    // The caption laid out at a size, and whether its ink fits its room there.
    const auto layOutAt = [&](int px, bool& fits) {
      Caption c{&spec, box, px, {}, 0, 0};
      c.lines = wraps ? wrapped(extent, spec.caption, px, roomWidth)
                      : std::vector<std::string>{spec.caption};
      fits = true;
      for (std::size_t i = 0; i < c.lines.size(); ++i) {
        const TextExtent& e = extent(c.lines[i], px);
        c.ascent = e.ascent;
        c.lineSpacing = e.lineSpacing;
        const double top = static_cast<double>(i) * e.lineSpacing + e.ascent;
        // A line well inside its room needs no look at its ink, which takes a drawing to find
        // (an unsmoothed face may ink a few per cent wider than it advances); nor does one
        // whose ink, wherever it lies within its bounds, fits.
        if (e.advance * 17 / 16 + 1 <= roomWidth && top + e.descent <= box.height) continue;
        const auto spills = [&](const TextExtent& ink) {
          return ink.inkLeft < 0 || ink.inkRight > roomWidth || top + ink.inkBottom > box.height;
        };
        const TextExtent bounds = measure.captionInkBounds(c.lines[i], px);
        if (bounds.inkRight > bounds.inkLeft && !spills(bounds)) continue;
        if (spills(captionInk(measure, c.lines[i], px, e))) fits = false;
      }
      return c;
    };
    bool fits = false;
    Caption fitted{};
    const Fitting size =
        largestFitting(scale_.fontPixels, smallestPixels(scale_.fontPixels), 1, [&](int, int px) {
          fitted = layOutAt(px, fits);
          return fits;
        });
    if (fitted.pixels != size.pixels) fitted = layOutAt(size.pixels, fits);  // none fits
    captions_.push_back(std::move(fitted));
    objects_.push_back({&spec, accessibleName(spec), FaceObject::Role::StaticText, box});
  }
  for (const ControlSpec& spec : layout.controls) {
    if (spec.type != ControlType::PictureBox) continue;
    objects_.push_back({&spec, accessibleName(spec), FaceObject::Role::Graphic, rectOf(spec)});
  }
}

void Face::draw(Painter& p) const {
  for (const Caption& c : captions_) {
    // Clipped to its box, as a label's text is.
    p.beginView({double(c.box.left), double(c.box.top)}, 1, c.box.width, c.box.height);
    for (std::size_t i = 0; i < c.lines.size(); ++i) {
      p.caption({0, static_cast<double>(i) * c.lineSpacing + c.ascent}, c.lines[i], c.pixels,
                scale_.ink);
    }
    p.endView();
  }
  for (const LineSpec& l : layout_.lines) {
    // Both end points are drawn; the surface clips a line that runs past it.
    const int x1 = scale_.pixels(std::min(l.x1, l.x2)), x2 = scale_.pixels(std::max(l.x1, l.x2));
    const int y1 = scale_.pixels(std::min(l.y1, l.y2)), y2 = scale_.pixels(std::max(l.y1, l.y2));
    p.fill({double(x1), double(y1)}, std::max(x2 + 1 - x1, scale_.lineWidth),
           std::max(y2 + 1 - y1, scale_.lineWidth), scale_.ink);
  }
  for (const FaceObject& o : objects_) {
    if (o.role != FaceObject::Role::Graphic) continue;
    const ControlSpec* spec = o.spec;
    const PixelRect& b = o.bounds;
    p.fill({double(b.left), double(b.top)}, b.width, b.height, kWhite);
    const Drawing* drawing = drawingNamed(spec->image);
    if (!drawing) continue;
    // The bitmap at the box's top-left corner, unscaled, clipped to the box.
    const double k = scale_.pictureScale;
    p.beginView({double(b.left), double(b.top)}, k,
                std::min<double>(spec->bitmapWidth, b.width / k),
                std::min<double>(spec->bitmapHeight, b.height / k));
    drawing->draw(p, spec->bitmapWidth, spec->bitmapHeight);
    p.endView();
  }
}

namespace {

bool contains(const PixelRect& b, int x, int y) {
  return x >= b.left && x < b.left + b.width && y >= b.top && y < b.top + b.height;
}

}  // namespace

bool Face::pictureAt(int x, int y) const {
  return std::ranges::any_of(objects_, [x, y](const FaceObject& o) {
    return o.role == FaceObject::Role::Graphic && contains(o.bounds, x, y);
  });
}

std::optional<std::size_t> Face::objectAt(int x, int y) const {
  for (std::size_t i = objects_.size(); i-- > 0;) {
    if (contains(objects_[i].bounds, x, y)) return i;
  }
  return std::nullopt;
}

}  // namespace kalvena::ui
