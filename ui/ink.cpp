#include "ink.h"

#include <algorithm>
#include <cstddef>

namespace kalvena::ui {

PixelRect inkBox(const Coverage& c) {
  int left = c.width, right = 0, top = c.height, bottom = 0;
  for (int y = 0; y < c.height; ++y) {
    const std::uint8_t* row = c.values.data() + static_cast<std::ptrdiff_t>(y) * c.width;
    int x = 0;
    while (x < c.width && !isInk(row[x])) ++x;
    if (x == c.width) continue;  // a row of ground
    int end = c.width;
    while (!isInk(row[end - 1])) --end;
    left = std::min(left, x), right = std::max(right, end);
    top = std::min(top, y), bottom = y + 1;
  }
  if (right == 0) return {};
  return {left, top, right - left, bottom - top};
}

int inkRuns(const Coverage& c) {
  int runs = 0;
  bool inRun = false;
  for (int x = 0; x < c.width; ++x) {
    bool inked = false;
    for (int y = 0; y < c.height && !inked; ++y) {
      inked = isInk(c.values[static_cast<std::size_t>(y * c.width + x)]);
    }
    if (inked && !inRun) ++runs;
    inRun = inked;
  }
  return runs;
}

const std::vector<std::string>& numberPairLines() {
  static const std::vector<std::string> lines = [] {
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    std::vector<std::string> made(1);
    for (const char a : kNumberCharacters) {
      for (const char b : kNumberCharacters) {
        if (!isDigit(a) && !isDigit(b)) continue;
        if (made.back().size() >= 4 * 8) made.emplace_back();
        made.back() += {a, b, ' ', ' '};
      }
    }
    return made;
  }();
  return lines;
}

bool numbersStandApart(
    const std::function<Coverage(std::size_t row, std::string_view line)>& rasterise) {
  const std::vector<std::string>& lines = numberPairLines();
  for (std::size_t row = 0; row < lines.size(); ++row) {
    const Coverage drawn = rasterise(row, lines[row]);
    // Nothing to look at: the face stands.
    if (!drawn.values.empty() && inkRuns(drawn) != static_cast<int>(lines[row].size() / 2)) {
      return false;
    }
  }
  return true;
}

Fitting largestFitting(int largest, int smallest, int candidates,
                       const std::function<bool(int candidate, int pixels)>& fits) {
  for (int pixels = largest; pixels >= smallest; --pixels) {
    for (int candidate = 0; candidate < candidates; ++candidate) {
      if (fits(candidate, pixels)) return {candidate, pixels};
    }
  }
  return {0, largest};
}

TextExtent captionInk(Painter& painter, std::string_view utf8, int pixelSize,
                      const TextExtent& extent) {
  TextExtent e = extent;
  const Coverage drawn = painter.captionCoverage(utf8, pixelSize, extent.advance);
  if (drawn.values.empty()) {  // nothing drawn to look at: its extent stands for its ink
    e.inkRight = e.advance;
    e.inkTop = -e.ascent;
    e.inkBottom = e.descent;
    return e;
  }
  const PixelRect ink = inkBox(drawn);
  if (ink.width > 0) {
    e.inkLeft = ink.left - drawn.originX;
    e.inkRight = ink.left + ink.width - drawn.originX;
    e.inkTop = ink.top - drawn.originY;
    e.inkBottom = ink.top + ink.height - drawn.originY;
  }
  return e;
}

}  // namespace kalvena::ui
