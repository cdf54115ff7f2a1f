#!/usr/bin/env python3
"""Draws the response graphs and schematics of both windows as SVG files in ui/images/.

Each drawing has the pixel size of its bitmap, white ground, black drawing and, in the graphs,
a red response curve. Everything that matters is kept inside the part of the bitmap that its
picture box shows (the box clips the bitmap at the right and bottom).

Run from the repository's root:  python3 tools/draw_pictures.py [output folder]
"""
import sys
from pathlib import Path

OUT = Path(__file__).resolve().parent.parent / "ui" / "images"
FONT = 'font-family="Liberation Sans" font-size="9"'
RED = "#d40000"
TITLES = {
    'form1_low_graph.svg': '12 dB/oct low-pass response',
    'form1_middle_graph.svg': '12 dB/oct band-pass response',
    'form1_high_graph.svg': '12 dB/oct high-pass response',
    'form2_low_graph.svg': '18 dB/oct low-pass response',
    'form2_middle_graph.svg': '18 dB/oct band-pass response',
    'form2_high_graph.svg': '18 dB/oct high-pass response',
    'form1_low_schematic.svg': '12 dB/oct low-pass schematic',
    'form1_middle_schematic.svg': '12 dB/oct band-pass schematic',
    'form1_high_schematic.svg': '12 dB/oct high-pass schematic',
    'form2_low_schematic.svg': '18 dB/oct low-pass T-section',
    'form2_middle_schematic.svg': '18 dB/oct band-pass T-sections',
    'form2_high_schematic.svg': '18 dB/oct high-pass T-section',
}


class Svg:
    """One drawing, written to ui/images/<name> under the title TITLES gives it."""

    def __init__(self, name, width, height):
        self.name, self.width, self.height = name, width, height
        self.parts = [
            f'<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" '
            f'width="{width}" height="{height}" viewBox="0 0 {width} {height}">',
            f"<title>{TITLES[name]}</title>",
            f'<rect x="0" y="0" width="{width}" height="{height}" fill="#ffffff"/>',
        ]

    def add(self, element):
        self.parts.append(element)

    def line(self, x1, y1, x2, y2, dashed=False, color="#000000", width=1):
        dash = ' stroke-dasharray="2,2"' if dashed else ""
        self.add(f'<line x1="{x1}" y1="{y1}" x2="{x2}" y2="{y2}" stroke="{color}" '
                 f'stroke-width="{width}"{dash}/>')

    def polyline(self, points, color="#000000", width=1):
        pts = " ".join(f"{x},{y}" for x, y in points)
        self.add(f'<polyline points="{pts}" fill="none" stroke="{color}" stroke-width="{width}" '
                 f'stroke-linejoin="round"/>')

    def polygon(self, points, fill="#000000"):
        pts = " ".join(f"{x},{y}" for x, y in points)
        self.add(f'<polygon points="{pts}" fill="{fill}" stroke="none"/>')

    def text(self, x, y, s, anchor="start"):
        self.add(f'<text x="{x}" y="{y}" {FONT} text-anchor="{anchor}" fill="#000000">{s}</text>')

    def path(self, d, fill="none"):
        self.add(f'<path d="{d}" fill="{fill}" stroke="#000000" stroke-width="1"/>')

    def circle(self, x, y, r, fill="#ffffff"):
        self.add(f'<circle cx="{x}" cy="{y}" r="{r}" fill="{fill}" stroke="#000000" '
                 f'stroke-width="1"/>')

    def write(self):
        self.parts.append("</svg>")
        (OUT / self.name).write_text("\n".join(self.parts) + "\n", encoding="utf-8")


# ---- Graphs ---------------------------------------------------------------------------------

class Graph:
    """Axes of an asymptotic response plot: attenuation down the vertical axis."""

    def __init__(self, svg, ticks, axis_y, levels, shown_width):
        self.svg = svg
        self.x0 = 24.5          # the vertical axis
        self.axis_y = axis_y    # the frequency axis
        self.levels = levels    # y of each tick, top to bottom
        # The arrowhead ends two pixels inside the part of the bitmap that the box shows.
        right = min(svg.width, shown_width) - 2
        svg.line(self.x0, axis_y + 4, self.x0, 6)
        svg.polygon([(self.x0, 1), (self.x0 - 3, 8), (self.x0 + 3, 8)])
        svg.text(self.x0 + 5, 8, "Ku dB")
        svg.line(self.x0 - 3, axis_y, right - 5, axis_y)
        svg.polygon([(right, axis_y), (right - 7, axis_y - 3), (right - 7, axis_y + 3)])
        svg.text(right - 6, axis_y - 4, "f", anchor="middle")
        for label, y in zip(ticks, levels):
            svg.line(self.x0 - 3, y, self.x0 + 3, y)
            svg.text(self.x0 - 5, y + 3, label, anchor="end")
        self.right = right

    def mark(self, x, label):
        self.svg.line(x, self.axis_y - 2, x, self.axis_y + 2)
        self.svg.text(x, self.axis_y + 10, label, anchor="middle")

    def guide_down(self, x, y):
        self.svg.line(x, y, x, self.axis_y, dashed=True)

    def guide_left(self, x, y):
        self.svg.line(self.x0, y, x, y, dashed=True)

    def curve(self, points):
        self.svg.polyline(points, color=RED, width=1.5)


# The part of a graph's bitmap that its box shows: 113 x 105 pixels in the 12 dB/oct window,
# less the column that the box to the right lies over; 121 x 97 in the 18 dB/oct window. The
# schematics lie over the graphs' last row.
def graph12(name, width, height, shown_width=112):
    svg = Svg(name, width, height)
    return svg, Graph(svg, ["0", "6", "12", "18"], 92.5, [22.5, 38.5, 54.5, 70.5], shown_width)


def graph18(name, width, height):
    svg = Svg(name, width, height)
    return svg, Graph(svg, ["0", "-6", "-12", "-18"], 82.5, [18.5, 34.5, 50.5, 66.5], 121)


def low_pass_curve(g, fc, fc2, level, end_x):
    """Flat at 0 dB up to fc, then straight down through `level` at 2fc, as far as end_x."""
    zero = g.levels[0]
    slope = (level - zero) / (fc2 - fc)
    g.guide_down(fc, zero)
    g.guide_down(fc2, level)
    g.guide_left(fc2, level)
    g.curve([(g.x0, zero), (fc, zero), (end_x, zero + slope * (end_x - fc))])
    g.mark(fc, "fc")
    g.mark(fc2, "2fc")


def high_pass_curve(g, fc, fc2, level, end_x):
    """Straight up from the frequency axis through `level` at fc to 0 dB at 2fc, then flat."""
    zero = g.levels[0]
    slope = (level - zero) / (fc2 - fc)
    start_x = fc - (g.axis_y - level) / slope
    g.guide_down(fc, level)
    g.guide_left(fc, level)
    g.guide_down(fc2, zero)
    g.guide_left(fc2, zero)
    g.curve([(start_x, g.axis_y), (fc2, zero), (end_x, zero)])
    g.mark(fc, "fc")
    g.mark(fc2, "2fc")


def low_pass_12():
    svg, g = graph12("form1_low_graph.svg", 115, 104)
    low_pass_curve(g, 55, 80, g.levels[2], 98)  # passing 12 dB at 2fc
    svg.write()


def band_pass_12():
    svg, g = graph12("form1_middle_graph.svg", 117, 106)
    fc1, fc2 = 52, 80
    zero, eighteen = g.levels[0], g.levels[3]
    g.guide_down(fc1, zero)
    g.guide_down(fc2, zero)
    g.guide_left(fc1, zero)
    g.curve([(g.x0, eighteen), (fc1, zero), (fc2, zero), (fc2 + (fc1 - g.x0), eighteen)])
    g.mark(fc1, "fc1")
    g.mark(fc2, "fc2")
    svg.write()


def high_pass_12():
    svg, g = graph12("form1_high_graph.svg", 122, 110, shown_width=113)  # nothing to its right
    high_pass_curve(g, 55, 75, g.levels[2], 106)  # passing 12 dB at fc
    svg.write()


def low_pass_18():
    svg, g = graph18("form2_low_graph.svg", 124, 99)
    low_pass_curve(g, 58, 84, g.levels[3], 84)  # down to -18 dB at 2fc
    svg.write()


def band_pass_18():
    svg, g = graph18("form2_middle_graph.svg", 124, 101)
    fc1, fc2 = 50, 84
    zero = g.levels[0]
    # Steep and straight from the origin up to 0 dB just below fc1.
    g.guide_down(fc1 - 4, zero)
    g.guide_down(fc2, zero)
    g.guide_left(fc1 - 4, zero)
    g.curve([(g.x0, g.axis_y), (fc1 - 4, zero), (fc2, zero), (fc2 + 22, g.axis_y)])
    g.mark(fc1, "fc1")
    g.mark(fc2, "fc2")
    svg.write()


def high_pass_18():
    svg, g = graph18("form2_high_graph.svg", 123, 98)
    high_pass_curve(g, 56, 80, g.levels[3], 112)  # from -18 dB at fc
    svg.write()


# ---- Schematics -----------------------------------------------------------------------------

TOP, BOTTOM = 15.5, 47.5  # the two wires


def terminals(svg):
    svg.circle(4.5, TOP, 2.5)
    svg.circle(4.5, BOTTOM, 2.5)


def series_inductor(svg, x, turns, label):
    """Bumps along the upper wire from x; returns the x where it ends."""
    d = f"M{x},{TOP}" + "".join(" a3,3 0 0 1 6,0" for _ in range(turns))
    svg.path(d)
    end = x + 6 * turns
    svg.text((x + end) / 2, TOP - 5, label, anchor="middle")
    return end


def series_capacitor(svg, x, label):
    """Two plates across the upper wire, 4 px apart, from x; returns where it ends."""
    svg.line(x, TOP - 5, x, TOP + 5, width=1.5)
    svg.line(x + 4, TOP - 5, x + 4, TOP + 5, width=1.5)
    svg.text(x + 2, TOP - 6, label, anchor="middle")
    return x + 4


def shunt_capacitor(svg, x, label, label_side="right"):
    mid = (TOP + BOTTOM) / 2
    svg.line(x, TOP, x, mid - 2)
    svg.line(x - 6, mid - 2, x + 6, mid - 2, width=1.5)
    svg.line(x - 6, mid + 2, x + 6, mid + 2, width=1.5)
    svg.line(x, mid + 2, x, BOTTOM)
    node(svg, x)
    if label_side == "right":
        svg.text(x + 8, mid + 3, label)
    else:
        svg.text(x - 8, mid + 3, label, anchor="end")


def shunt_inductor(svg, x, label, label_side="left"):
    start = TOP + 7
    d = f"M{x},{start}" + "".join(" a3,3 0 0 1 0,6" for _ in range(4))
    svg.line(x, TOP, x, start)
    svg.path(d)
    svg.line(x, start + 24, x, BOTTOM)
    node(svg, x)
    mid = (TOP + BOTTOM) / 2
    if label_side == "left":
        svg.text(x - 3, mid + 3, label, anchor="end")
    else:
        svg.text(x + 6, mid + 3, label)


def node(svg, x):
    svg.add(f'<circle cx="{x}" cy="{TOP}" r="1.5" fill="#000000"/>')
    svg.add(f'<circle cx="{x}" cy="{BOTTOM}" r="1.5" fill="#000000"/>')


def loudspeaker(svg, x):
    """A rectangle with a cone, fed from both wires, marked "Вг"; x is its feed."""
    mid = (TOP + BOTTOM) / 2
    svg.line(x, TOP, x, mid - 7)
    svg.line(x, mid + 7, x, BOTTOM)
    svg.add(f'<rect x="{x - 3}" y="{mid - 7}" width="6" height="14" fill="#ffffff" '
            f'stroke="#000000" stroke-width="1"/>')
    svg.path(f"M{x + 3},{mid - 7} L{x + 10},{mid - 14} L{x + 10},{mid + 14} L{x + 3},{mid + 7}")
    svg.text(x + 12, mid + 3, "Вг")


def low_pass_12_schematic():
    svg = Svg("form1_low_schematic.svg", 110, 62)
    terminals(svg)
    svg.line(7, TOP, 18, TOP)
    end = series_inductor(svg, 18, 4, "L")
    svg.line(end, TOP, 80, TOP)
    svg.line(7, BOTTOM, 80, BOTTOM)
    shunt_capacitor(svg, 55, "C")
    loudspeaker(svg, 80)
    svg.write()


def band_pass_12_schematic():
    svg = Svg("form1_middle_schematic.svg", 135, 73)
    terminals(svg)
    svg.line(7, TOP, 11, TOP)
    end = series_capacitor(svg, 11, "C1")
    svg.line(end, TOP, 19, TOP)
    end = series_inductor(svg, 19, 4, "L1")
    svg.line(end, TOP, 88, TOP)
    svg.line(7, BOTTOM, 88, BOTTOM)
    shunt_inductor(svg, 50, "L2", label_side="left")
    shunt_capacitor(svg, 64, "C2")
    loudspeaker(svg, 88)
    svg.write()


def high_pass_12_schematic():
    svg = Svg("form1_high_schematic.svg", 109, 57)
    terminals(svg)
    svg.line(7, TOP, 20, TOP)
    end = series_capacitor(svg, 20, "C")
    svg.line(end, TOP, 80, TOP)
    svg.line(7, BOTTOM, 80, BOTTOM)
    shunt_inductor(svg, 50, "L", label_side="right")
    loudspeaker(svg, 80)
    svg.write()


def low_pass_18_schematic():
    svg = Svg("form2_low_schematic.svg", 124, 58)
    terminals(svg)
    svg.line(7, TOP, 12, TOP)
    end = series_inductor(svg, 12, 5, "L1")  # the larger inductor, at the input
    svg.line(end, TOP, 62, TOP)
    shunt_capacitor(svg, 50, "C")
    end = series_inductor(svg, 62, 3, "L2")
    svg.line(end, TOP, 96, TOP)
    svg.line(7, BOTTOM, 96, BOTTOM)
    loudspeaker(svg, 96)
    svg.write()


def band_pass_18_schematic():
    svg = Svg("form2_middle_schematic.svg", 146, 59)
    terminals(svg)
    svg.line(7, TOP, 11, TOP)
    end = series_capacitor(svg, 11, "C1")
    svg.line(end, TOP, 19, TOP)
    end = series_inductor(svg, 19, 4, "L1")
    svg.line(end, TOP, 82, TOP)
    shunt_inductor(svg, 52, "L3", label_side="left")
    shunt_capacitor(svg, 64, "C3")
    end = series_capacitor(svg, 82, "C2")
    svg.line(end, TOP, 91, TOP)
    end = series_inductor(svg, 91, 2, "L2")
    svg.line(end, TOP, 114, TOP)
    svg.line(7, BOTTOM, 114, BOTTOM)
    loudspeaker(svg, 114)
    svg.write()


def high_pass_18_schematic():
    svg = Svg("form2_high_schematic.svg", 127, 63)
    terminals(svg)
    svg.line(7, TOP, 16, TOP)
    end = series_capacitor(svg, 16, "C1")  # the smaller capacitor, at the input
    svg.line(end, TOP, 66, TOP)
    shunt_inductor(svg, 46, "L", label_side="right")
    end = series_capacitor(svg, 66, "C2")
    svg.line(end, TOP, 96, TOP)
    svg.line(7, BOTTOM, 96, BOTTOM)
    loudspeaker(svg, 96)
    svg.write()


def main():
    global OUT
    if len(sys.argv) > 1:
        OUT = Path(sys.argv[1])
    OUT.mkdir(parents=True, exist_ok=True)
    for draw in (low_pass_12, band_pass_12, high_pass_12, low_pass_18, band_pass_18, high_pass_18,
                 low_pass_12_schematic, band_pass_12_schematic, high_pass_12_schematic,
                 low_pass_18_schematic, band_pass_18_schematic, high_pass_18_schematic):
        draw()


if __name__ == "__main__":
    main()
