#!/usr/bin/env python3
"""Finds the program's window in a screenshot of a Wayland session and reads its title bar.

    wayland_window.py <png> <scale> [<ocr crop png>]

Prints "left top right bottom" of the window's ground (Fusion's 239 grey, the client area), then
the title bar's buttons as "buttons N x y" (how many glyphs stand right of the title, and the
centre of the rightmost), and with a third argument writes the bar's title, four times enlarged,
for OCR. Exits 1 when the ground is not whole: narrower or lower than the client area at the
scale, or touching an edge of the screen.
"""
import struct
import sys
import zlib


def read_png(path):
    data = open(path, "rb").read()
    pos, idat = 8, b""
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, _, colour = struct.unpack(">IIBB", body[:10])
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    channels = {2: 3, 6: 4}[colour]
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for x in range(stride):
            a = line[x - channels] if x >= channels else 0
            b = previous[x]
            c = previous[x - channels] if x >= channels else 0
            if kind == 1:
                line[x] = (line[x] + a) & 255
            elif kind == 2:
                line[x] = (line[x] + b) & 255
            elif kind == 3:
                line[x] = (line[x] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[x] = (line[x] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append([tuple(line[x * channels:x * channels + 3]) for x in range(width)])
        previous = line
    return width, height, rows


def write_png(path, rows):
    body = b"".join(b"\0" + bytes(v for pixel in row for v in pixel) for row in rows)
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    header = struct.pack(">IIBBBBB", len(rows[0]), len(rows), 8, 2, 0, 0, 0)
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                  chunk(b"IDAT", zlib.compress(body)) + chunk(b"IEND", b""))


def main():
    width, height, rows = read_png(sys.argv[1])
    scale = int(sys.argv[2])
    # The ground in runs of at least a fifth of the client area's width.
    left, top, right, bottom = width, height, -1, -1
    run_needed = 369 * scale // 5
    for y, line in enumerate(rows):
        run = 0
        for x, pixel in enumerate(line):
            run = run + 1 if pixel == (239, 239, 239) else 0
            if run >= run_needed:
                left, right = min(left, x - run + 1), max(right, x)
                top, bottom = min(top, y), max(bottom, y)
    print(left, top, right, bottom)

    # The title bar: the rows above the client area (459 high, up from the ground's last row, as
    # a title bar of the window's grey would join the ground), short of its border and its edge.
    client_top = bottom - 459 * scale + 1
    bar = range(max(client_top - 28 * scale, 0), max(client_top - 2 * scale, 0))
    if bar:
        counts = {}
        for y in bar:
            for x in range(left, right + 1):
                counts[rows[y][x]] = counts.get(rows[y][x], 0) + 1
        ground = max(counts, key=counts.get)
        def ink(x, y):
            return max(abs(a - b) for a, b in zip(rows[y][x], ground)) > 40
        # Buttons: runs of columns with ink in the bar's right third, apart by 3 pixels or more.
        runs, gap = [], 0
        for x in range(left + 2 * (right - left) // 3, right + 1):
            if any(ink(x, y) for y in bar):
                if runs and gap < 3 * scale:
                    runs[-1][1] = x
                else:
                    runs.append([x, x])
                gap = 0
            else:
                gap += 1
        if runs:
            print("buttons", len(runs), (runs[-1][0] + runs[-1][1]) // 2, (bar.start + bar.stop) // 2)
        else:
            print("buttons 0")
        if len(sys.argv) > 3:
            # The title, between the icon and the buttons, enlarged four times for OCR.
            first = left + 30 * scale
            last = (runs[0][0] if runs else right) - 4 * scale
            crop = [[rows[y][x] for x in range(first, last) for _ in range(4)]
                    for y in bar for _ in range(4)]
            write_png(sys.argv[3], crop)

    whole = right - left + 1 >= 360 * scale and bottom - top + 1 >= 440 * scale and left > 0 \
        and top > 0 and right < width - 1 and bottom < height - 1
    sys.exit(0 if whole else 1)


main()
