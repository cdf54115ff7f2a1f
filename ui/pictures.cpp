#include "pictures.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <numbers>
#include <vector>

namespace kalvena::ui {

namespace {

constexpr double kTextSize = 9;
constexpr Color kRed{0xd4, 0x00, 0x00};
constexpr Pen kThin{};
constexpr Pen kDashed{kBlack, 1, true};
constexpr Pen kPlate{kBlack, 1.5, false};

void polyline(Painter& p, std::initializer_list<Point> points, const Pen& pen) {
  p.polyline(std::span(points.begin(), points.size()), pen);
}

void polygon(Painter& p, std::initializer_list<Point> points, Color fill) {
  p.polygon(std::span(points.begin(), points.size()), fill, kNoOutline);
}

void text(Painter& p, double x, double y, std::string_view s, Anchor anchor = Anchor::Start) {
  p.text({x, y}, s, anchor, kTextSize, kBlack);
}

// ---- Graphs ---------------------------------------------------------------------------------

// The axes of an asymptotic response plot, attenuation down the vertical axis, and what is
// drawn on them.
class Graph {
 public:
  // shownWidth: how much of the bitmap's width the box shows.
  Graph(Painter& p, int width, std::array<const char*, 4> ticks, double axisY,
        std::array<double, 4> levels, int shownWidth)
      : p_(p), axisY_(axisY), levels_(levels) {
    // The arrowhead ends two pixels inside the part of the bitmap that the box shows.
    const double right = std::min(width, shownWidth) - 2;
    p.line({kX0, axisY + 4}, {kX0, 6}, kThin);
    polygon(p, {{kX0, 1}, {kX0 - 3, 8}, {kX0 + 3, 8}}, kBlack);
    text(p, kX0 + 5, 8, "Ku dB");
    p.line({kX0 - 3, axisY}, {right - 5, axisY}, kThin);
    polygon(p, {{right, axisY}, {right - 7, axisY - 3}, {right - 7, axisY + 3}}, kBlack);
    text(p, right - 6, axisY - 4, "f", Anchor::Middle);
    for (std::size_t i = 0; i < ticks.size(); ++i) {
      p.line({kX0 - 3, levels[i]}, {kX0 + 3, levels[i]}, kThin);
      text(p, kX0 - 5, levels[i] + 3, ticks[i], Anchor::End);
    }
  }

  static constexpr double kX0 = 24.5;  // the vertical axis
  double level(std::size_t i) const { return levels_[i]; }
  double axisY() const { return axisY_; }

  void mark(double x, const char* label) {
    p_.line({x, axisY_ - 2}, {x, axisY_ + 2}, kThin);
    text(p_, x, axisY_ + 10, label, Anchor::Middle);
  }
  void guideDown(double x, double y) { p_.line({x, y}, {x, axisY_}, kDashed); }
  void guideLeft(double x, double y) { p_.line({kX0, y}, {x, y}, kDashed); }
  void curve(std::initializer_list<Point> points) { polyline(p_, points, {kRed, 1.5, false}); }

 private:
  Painter& p_;
  double axisY_;
  std::array<double, 4> levels_;
};

// The part of a graph's bitmap that its box shows: 113 x 105 pixels in the 12 dB/oct window,
// less the column that the box to the right lies over; 121 x 97 in the 18 dB/oct window. The
// schematics lie over the graphs' last row.
Graph graph12(Painter& p, int width, int shownWidth = 112) {
  return Graph(p, width, {"0", "6", "12", "18"}, 92.5, {22.5, 38.5, 54.5, 70.5}, shownWidth);
}

Graph graph18(Painter& p, int width) {
  return Graph(p, width, {"0", "-6", "-12", "-18"}, 82.5, {18.5, 34.5, 50.5, 66.5}, 121);
}

// Flat at 0 dB up to fc, then straight down through `level` at 2fc, as far as endX.
void lowPassCurve(Graph& g, double fc, double fc2, double level, double endX) {
  const double zero = g.level(0);
  const double slope = (level - zero) / (fc2 - fc);
  g.guideDown(fc, zero);
  g.guideDown(fc2, level);
  g.guideLeft(fc2, level);
  g.curve({{Graph::kX0, zero}, {fc, zero}, {endX, zero + slope * (endX - fc)}});
  g.mark(fc, "fc");
  g.mark(fc2, "2fc");
}

// Straight up from the frequency axis through `level` at fc to 0 dB at 2fc, then flat.
void highPassCurve(Graph& g, double fc, double fc2, double level, double endX) {
  const double zero = g.level(0);
  const double slope = (level - zero) / (fc2 - fc);
  const double startX = fc - (g.axisY() - level) / slope;
  g.guideDown(fc, level);
  g.guideLeft(fc, level);
  g.guideDown(fc2, zero);
  g.guideLeft(fc2, zero);
  g.curve({{startX, g.axisY()}, {fc2, zero}, {endX, zero}});
  g.mark(fc, "fc");
  g.mark(fc2, "2fc");
}

void lowPass12(Painter& p, int width, int) {
  Graph g = graph12(p, width);
  lowPassCurve(g, 55, 80, g.level(2), 98);  // passing 12 dB at 2fc
}

void bandPass12(Painter& p, int width, int) {
  Graph g = graph12(p, width);
  const double fc1 = 52, fc2 = 80, zero = g.level(0), eighteen = g.level(3);
  g.guideDown(fc1, zero);
  g.guideDown(fc2, zero);
  g.guideLeft(fc1, zero);
  g.curve({{Graph::kX0, eighteen}, {fc1, zero}, {fc2, zero}, {fc2 + (fc1 - Graph::kX0), eighteen}});
  g.mark(fc1, "fc1");
  g.mark(fc2, "fc2");
}

void highPass12(Painter& p, int width, int) {
  Graph g = graph12(p, width, 113);           // nothing to its right
  highPassCurve(g, 55, 75, g.level(2), 106);  // passing 12 dB at fc
}

void lowPass18(Painter& p, int width, int) {
  Graph g = graph18(p, width);
  lowPassCurve(g, 58, 84, g.level(3), 84);  // down to -18 dB at 2fc
}

void bandPass18(Painter& p, int width, int) {
  Graph g = graph18(p, width);
  const double fc1 = 50, fc2 = 84, zero = g.level(0);
  // Steep and straight from the origin up to 0 dB just below fc1.
  g.guideDown(fc1 - 4, zero);
  g.guideDown(fc2, zero);
  g.guideLeft(fc1 - 4, zero);
  g.curve({{Graph::kX0, g.axisY()}, {fc1 - 4, zero}, {fc2, zero}, {fc2 + 22, g.axisY()}});
  g.mark(fc1, "fc1");
  g.mark(fc2, "fc2");
}

void highPass18(Painter& p, int width, int) {
  Graph g = graph18(p, width);
  highPassCurve(g, 56, 80, g.level(3), 112);  // from -18 dB at fc
}

// ---- Schematics -----------------------------------------------------------------------------

constexpr double kTop = 15.5, kBottom = 47.5;  // the two wires
constexpr double kMid = (kTop + kBottom) / 2;

void wire(Painter& p, double y, double from, double to) { p.line({from, y}, {to, y}, kThin); }

void terminals(Painter& p) {
  p.circle({4.5, kTop}, 2.5, kWhite, kThin);
  p.circle({4.5, kBottom}, 2.5, kWhite, kThin);
}

// The dots where a shunt element meets the wires.
void node(Painter& p, double x) {
  p.circle({x, kTop}, 1.5, kBlack, kNoOutline);
  p.circle({x, kBottom}, 1.5, kBlack, kNoOutline);
}

// Turns along the upper wire from x, bulging up; returns the x where it ends.
double seriesInductor(Painter& p, double x, int turns, const char* label) {
  for (int i = 0; i < turns; ++i) p.arc({x + 6 * i + 3, kTop}, 3, 180, 180, kThin);
  const double end = x + 6 * turns;
  text(p, (x + end) / 2, kTop - 5, label, Anchor::Middle);
  return end;
}

// Two plates across the upper wire, 4 px apart, from x, its label above them and clear of
// them; returns where it ends.
double seriesCapacitor(Painter& p, double x, const char* label) {
  p.line({x, kTop - 4}, {x, kTop + 4}, kPlate);
  p.line({x + 4, kTop - 4}, {x + 4, kTop + 4}, kPlate);
  text(p, x + 2, kTop - 7, label, Anchor::Middle);
  return x + 4;
}

enum class Side { Left, Right };

void shuntCapacitor(Painter& p, double x, const char* label) {
  p.line({x, kTop}, {x, kMid - 2}, kThin);
  p.line({x - 6, kMid - 2}, {x + 6, kMid - 2}, kPlate);
  p.line({x - 6, kMid + 2}, {x + 6, kMid + 2}, kPlate);
  p.line({x, kMid + 2}, {x, kBottom}, kThin);
  node(p, x);
  text(p, x + 8, kMid + 3, label);
}

// Four turns down from the upper wire, bulging right.
void shuntInductor(Painter& p, double x, const char* label, Side side) {
  const double start = kTop + 7;
  p.line({x, kTop}, {x, start}, kThin);
  for (int i = 0; i < 4; ++i) p.arc({x, start + 6 * i + 3}, 3, 270, 180, kThin);
  p.line({x, start + 24}, {x, kBottom}, kThin);
  node(p, x);
  if (side == Side::Left) {
    text(p, x - 3, kMid + 3, label, Anchor::End);
  } else {
    text(p, x + 6, kMid + 3, label);
  }
}

// A rectangle with a cone, fed from both wires, marked "Вг"; x is its feed.
void loudspeaker(Painter& p, double x) {
  p.line({x, kTop}, {x, kMid - 7}, kThin);
  p.line({x, kMid + 7}, {x, kBottom}, kThin);
  p.rectangle({x - 3, kMid - 7}, 6, 14, kWhite);
  polyline(p, {{x + 3, kMid - 7}, {x + 10, kMid - 14}, {x + 10, kMid + 14}, {x + 3, kMid + 7}},
           kThin);
  text(p, x + 12, kMid + 3, "Вг");
}

void lowPass12Schematic(Painter& p, int, int) {
  terminals(p);
  wire(p, kTop, 7, 18);
  const double end = seriesInductor(p, 18, 4, "L");
  wire(p, kTop, end, 80);
  wire(p, kBottom, 7, 80);
  shuntCapacitor(p, 55, "C");
  loudspeaker(p, 80);
}

void bandPass12Schematic(Painter& p, int, int) {
  terminals(p);
  wire(p, kTop, 7, 11);
  double end = seriesCapacitor(p, 11, "C1");
  wire(p, kTop, end, 19);
  end = seriesInductor(p, 19, 4, "L1");
  wire(p, kTop, end, 88);
  wire(p, kBottom, 7, 88);
  shuntInductor(p, 48, "L2", Side::Left);
  shuntCapacitor(p, 61, "C2");  // its label clear of the loudspeaker
  loudspeaker(p, 88);
}

void highPass12Schematic(Painter& p, int, int) {
  terminals(p);
  wire(p, kTop, 7, 20);
  const double end = seriesCapacitor(p, 20, "C");
  wire(p, kTop, end, 80);
  wire(p, kBottom, 7, 80);
  shuntInductor(p, 50, "L", Side::Right);
  loudspeaker(p, 80);
}

void lowPass18Schematic(Painter& p, int, int) {
  terminals(p);
  wire(p, kTop, 7, 12);
  double end = seriesInductor(p, 12, 5, "L1");  // the larger inductor, at the input
  wire(p, kTop, end, 62);
  shuntCapacitor(p, 50, "C");
  end = seriesInductor(p, 62, 3, "L2");
  wire(p, kTop, end, 96);
  wire(p, kBottom, 7, 96);
  loudspeaker(p, 96);
}

void bandPass18Schematic(Painter& p, int, int) {
  terminals(p);
  wire(p, kTop, 7, 11);
  double end = seriesCapacitor(p, 11, "C1");
  wire(p, kTop, end, 19);
  end = seriesInductor(p, 19, 4, "L1");
  wire(p, kTop, end, 82);
  shuntInductor(p, 52, "L3", Side::Left);
  shuntCapacitor(p, 64, "C3");
  end = seriesCapacitor(p, 82, "C2");
  wire(p, kTop, end, 91);
  end = seriesInductor(p, 91, 2, "L2");
  wire(p, kTop, end, 114);
  wire(p, kBottom, 7, 114);
  loudspeaker(p, 114);
}

void highPass18Schematic(Painter& p, int, int) {
  terminals(p);
  wire(p, kTop, 7, 16);
  double end = seriesCapacitor(p, 16, "C1");  // the smaller capacitor, at the input
  wire(p, kTop, end, 66);
  shuntInductor(p, 46, "L", Side::Right);
  end = seriesCapacitor(p, 66, "C2");
  wire(p, kTop, end, 96);
  wire(p, kBottom, 7, 96);
  loudspeaker(p, 96);
}

// ---- The program's icon -----------------------------------------------------------------------

// A yellow sun: twelve rays around a disc, in 32 by 32 pixels (as ui/images/sun.svg, which the
// desktop icons are made from).
void sun(Painter& p, int, int) {
  constexpr Color kRays{0xff, 0xcc, 0x00}, kDisc{0xff, 0xdd, 0x00}, kEdge{0xd9, 0x8c, 0x00};
  constexpr double kCentre = 16, kTip = 15, kBase = 9.27, kHalfWidth = 2.07;
  for (int i = 0; i < 12; ++i) {
    const double a = i * std::numbers::pi / 6, c = std::cos(a), s = std::sin(a);
    const Point tip{kCentre + kTip * c, kCentre + kTip * s};
    const Point left{kCentre + kBase * c + kHalfWidth * s, kCentre + kBase * s - kHalfWidth * c};
    const Point right{kCentre + kBase * c - kHalfWidth * s, kCentre + kBase * s + kHalfWidth * c};
    const Point ray[] = {tip, left, right};
    p.polygon(ray, kRays, {kEdge, 0.8, false});
  }
  p.circle({kCentre, kCentre}, 8.5, kDisc, {kEdge, 1, false});
}

constexpr Drawing kSun{"sun", sun};

constexpr Drawing kDrawings[] = {
    {"form1_low_graph", lowPass12},
    {"form1_middle_graph", bandPass12},
    {"form1_high_graph", highPass12},
    {"form2_low_graph", lowPass18},
    {"form2_middle_graph", bandPass18},
    {"form2_high_graph", highPass18},
    {"form1_low_schematic", lowPass12Schematic},
    {"form1_middle_schematic", bandPass12Schematic},
    {"form1_high_schematic", highPass12Schematic},
    {"form2_low_schematic", lowPass18Schematic},
    {"form2_middle_schematic", bandPass18Schematic},
    {"form2_high_schematic", highPass18Schematic},
};

}  // namespace

std::span<const Drawing> drawings() { return kDrawings; }

const Drawing& sunIcon() { return kSun; }

const Drawing* drawingNamed(std::string_view name) {
  for (const Drawing& d : kDrawings) {
    if (name == d.name) return &d;
  }
  return nullptr;
}

}  // namespace kalvena::ui
