#!/usr/bin/env python3
"""Draws the editor's application icon: a corner of a level in the tiles' own look, with a brush.

One drawing, a list of flat-coloured shapes on a 32 x 32 design grid, is written twice: as the
scalable SVG and, rasterised here with anti-aliased edges, as PNGs of the usual icon sizes. The
output is deterministic (only arithmetic and square roots, no trigonometry), so running the
script again reproduces the committed files.

Usage:
  draw_icon.py              write icon/icon.svg and icon/icon-SIZE.png beside this script
  draw_icon.py --out DIR    write them into DIR
  draw_icon.py --check      fail if the files beside this script differ from the drawing
"""

import argparse
import functools
import math
import os
import struct
import sys
import zlib

import draw_assets

DESIGN = 32  # the drawing's side in design units
SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
SUBROWS = 16  # sample rows per pixel row; across a row, coverage is computed exactly

# Colours taken from the tile bitmaps (draw_assets.py), so the icon reads as one of them.
GRID = (44, 48, 58)
SKY = (150, 200, 240)
CLOUD = (242, 248, 255)
HILL = (96, 168, 72)
BRICK = (172, 66, 46)
BRICK_DARK = (132, 48, 34)
MORTAR = (196, 186, 166)
WATER = (46, 120, 222)
WATER_DEEP = (18, 58, 150)
CREST = (196, 228, 255)
RUBY = (214, 26, 64)
RUBY_LIGHT = (255, 122, 150)
RUBY_DARK = (136, 10, 40)
BUTTON = (60, 190, 80)
BUTTON_RIM = (8, 72, 24)
STEEL = (112, 128, 146)
ARROW = (0, 0, 0)
HANDLE = (150, 74, 40)
HANDLE_LIGHT = (214, 160, 92)
FERRULE = (170, 172, 182)
FERRULE_DARK = (104, 106, 118)
BRISTLES = (240, 200, 70)
PAINT = (46, 120, 222)

# ---------------------------------------------------------------------------------------------
# The drawing: shapes painted in order, each ("rect", x0, y0, x1, y1, colour),
# ("rounded", x0, y0, x1, y1, radius, colour), ("circle", cx, cy, r, colour) or
# ("polygon", [(x, y), ...], colour), in design units with y growing downwards.

CELL = 8  # a grid cell's inner side; the grid lines between cells are 2 wide
LINE = 2


def cell_box(col, row):
    x0 = LINE + col * (CELL + LINE)
    y0 = LINE + row * (CELL + LINE)
    return x0, y0, x0 + CELL, y0 + CELL


def picture(col, row):
    """The level picture showing through an empty cell: sky, a cloud, a green hill."""
    x0, y0, x1, y1 = cell_box(col, row)
    return [("rect", x0, y0, x1, y1, SKY),
            ("circle", x0 + 3, y0 + 3.5, 1.6, CLOUD),
            ("circle", x0 + 5, y0 + 3, 2, CLOUD),
            ("polygon", [(x0, y0 + 6), (x0 + 4, y0 + 5), (x1, y0 + 6.5), (x1, y1), (x0, y1)], HILL)]


def brick_wall(col, row):
    x0, y0, x1, y1 = cell_box(col, row)
    shapes = [("rect", x0, y0, x1, y1, MORTAR)]
    for course in range(3):
        top = y0 + 0.5 + course * 2.5
        joints = (x0 + 4,) if course % 2 == 0 else (x0 + 2, x0 + 6)
        left = x0
        for right in joints + (x1,):
            shapes.append(("rect", left + 0.25, top, right - 0.25, top + 2, BRICK))
            shapes.append(("rect", left + 0.25, top + 1.5, right - 0.25, top + 2, BRICK_DARK))
            left = right
    return shapes


def water(col, row):
    x0, y0, x1, y1 = cell_box(col, row)
    shapes = [("rect", x0, y0, x1, y1, WATER),
              ("rect", x0, y0 + 5, x1, y1, WATER_DEEP)]
    for top in (y0 + 1.5, y0 + 5.5):
        crest = [(x0, top + 1), (x0 + 2, top), (x0 + 4, top + 1), (x0 + 6, top), (x1, top + 1),
                 (x1, top + 2), (x0 + 6, top + 1), (x0 + 4, top + 2), (x0 + 2, top + 1),
                 (x0, top + 2)]
        shapes.append(("polygon", crest, CREST))
    return shapes


def gem(col, row):
    x0, y0, _, _ = cell_box(col, row)
    shapes = picture(col, row)
    outline = [(x0 + 2, y0 + 1), (x0 + 6, y0 + 1), (x0 + 8, y0 + 3.5), (x0 + 4, y0 + 8),
               (x0, y0 + 3.5)]
    shapes.append(("polygon", outline, RUBY))
    shapes.append(("polygon", [(x0 + 4, y0 + 3.5), (x0 + 8, y0 + 3.5), (x0 + 4, y0 + 8)],
                   RUBY_DARK))
    shapes.append(("polygon", [(x0 + 2.5, y0 + 1.75), (x0 + 5.5, y0 + 1.75), (x0 + 6, y0 + 3),
                               (x0 + 2, y0 + 3)], RUBY_LIGHT))
    return shapes


def start_marker(col, row):
    x0, y0, _, _ = cell_box(col, row)
    return picture(col, row) + [
        ("circle", x0 + 4, y0 + 4, 3.8, BUTTON_RIM),
        ("circle", x0 + 4, y0 + 4, 3.2, BUTTON),
        ("polygon", [(x0 + 3, y0 + 2), (x0 + 6, y0 + 4), (x0 + 3, y0 + 6)], ARROW)]


def conveyor(col, row):
    x0, y0, x1, y1 = cell_box(col, row)
    return [("rect", x0, y0, x1, y1, STEEL),
            ("polygon", [(x0 + 1, y0 + 3), (x0 + 4, y0 + 3), (x0 + 4, y0 + 1), (x0 + 7, y0 + 4),
                         (x0 + 4, y0 + 7), (x0 + 4, y0 + 5), (x0 + 1, y0 + 5)], ARROW)]


def brush():
    """A paintbrush lying across the bottom-right cell, its tip wet with the water it painted."""

    def band(a, b, half_width):
        """The quadrilateral along the diagonal from design point a to b (both on x = y)."""
        return [(a + half_width, a - half_width), (b + half_width, b - half_width),
                (b - half_width, b + half_width), (a - half_width, a + half_width)]

    return [
        ("polygon", band(22.5, 31.5, 1.9), GRID),
        ("polygon", band(23, 31, 1.3), HANDLE),
        ("polygon", [(23.3, 22.1), (31, 29.8), (30.4, 30.4), (22.7, 22.7)], HANDLE_LIGHT),
        ("polygon", band(18.5, 23.5, 2.4), GRID),
        ("polygon", band(19, 23, 1.8), FERRULE),
        ("polygon", [(19.6, 21.2), (23, 24.6), (21.2, 24.8), (19.4, 23)], FERRULE_DARK),
        ("polygon", [(13.2, 13.2), (19.9, 15.6), (20.2, 20.2), (15.6, 19.9)], GRID),
        ("polygon", [(14.3, 14.3), (19.2, 16.3), (19.4, 19.4), (16.3, 19.2)], BRISTLES),
        ("polygon", [(14.3, 14.3), (17.6, 15.7), (17.8, 17.8), (15.7, 17.6)], PAINT),
    ]


def drawing():
    """Every shape of the icon, back to front."""
    shapes = [("rounded", 0, 0, DESIGN, DESIGN, 4, GRID)]
    layout = [[brick_wall, brick_wall, gem],
              [water, water, brick_wall],
              [start_marker, conveyor, picture]]
    for row, tiles in enumerate(layout):
        for col, tile in enumerate(tiles):
            shapes += tile(col, row)
    return shapes + brush()


# ---------------------------------------------------------------------------------------------
# SVG


def number(v):
    return ("%.3f" % v).rstrip("0").rstrip(".")


def colour_text(c):
    return "#%02x%02x%02x" % c


def encode_svg(shapes):
    lines = ['<?xml version="1.0" encoding="UTF-8"?>',
             '<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" '
             'viewBox="0 0 %d %d">' % (DESIGN, DESIGN)]
    for shape in shapes:
        kind, colour = shape[0], colour_text(shape[-1])
        if kind == "rect":
            x0, y0, x1, y1 = shape[1:5]
            lines.append('  <rect x="%s" y="%s" width="%s" height="%s" fill="%s"/>' % (
                number(x0), number(y0), number(x1 - x0), number(y1 - y0), colour))
        elif kind == "rounded":
            x0, y0, x1, y1, r = shape[1:6]
            lines.append('  <rect x="%s" y="%s" width="%s" height="%s" rx="%s" fill="%s"/>' % (
                number(x0), number(y0), number(x1 - x0), number(y1 - y0), number(r), colour))
        elif kind == "circle":
            cx, cy, r = shape[1:4]
            lines.append('  <circle cx="%s" cy="%s" r="%s" fill="%s"/>' % (
                number(cx), number(cy), number(r), colour))
        else:
            points = " ".join("%s,%s" % (number(x), number(y)) for x, y in shape[1])
            lines.append('  <polygon points="%s" fill="%s"/>' % (points, colour))
    lines.append("</svg>")
    return ("\n".join(lines) + "\n").encode("utf-8")


# ---------------------------------------------------------------------------------------------
# Rasterising


def spans(shape, y):
    """The x intervals [a, b) the shape covers on the horizontal line y (design units)."""
    kind = shape[0]
    if kind in ("rect", "rounded"):
        x0, y0, x1, y1 = shape[1:5]
        if not y0 <= y < y1:
            return []
        r = shape[5] if kind == "rounded" else 0
        d = max(y0 + r - y, y - (y1 - r), 0)
        inset = r - math.sqrt(r * r - d * d) if d > 0 else 0
        return [(x0 + inset, x1 - inset)]
    if kind == "circle":
        cx, cy, r = shape[1:4]
        if abs(y - cy) >= r:
            return []
        half = math.sqrt(r * r - (y - cy) ** 2)
        return [(cx - half, cx + half)]
    points = shape[1]
    crossings = []
    for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
        if (ay > y) != (by > y):
            crossings.append(ax + (y - ay) * (bx - ax) / (by - ay))
    crossings.sort()
    return list(zip(crossings[0::2], crossings[1::2]))


def vertical_extent(shape):
    kind = shape[0]
    if kind in ("rect", "rounded"):
        return shape[2], shape[4]
    if kind == "circle":
        return shape[2] - shape[3], shape[2] + shape[3]
    ys = [p[1] for p in shape[1]]
    return min(ys), max(ys)


def coverage_row(shape, row, size):
    """{pixel x: covered fraction} for one pixel row of the icon at `size` pixels."""
    scale = size / DESIGN
    cover = {}
    for sub in range(SUBROWS):
        y = (row + (sub + 0.5) / SUBROWS) / scale
        for a, b in spans(shape, y):
            a, b = max(a * scale, 0.0), min(b * scale, float(size))
            x = int(math.floor(a))
            while x < b:
                part = min(b, x + 1) - max(a, x)
                if part > 0:
                    cover[x] = cover.get(x, 0.0) + part / SUBROWS
                x += 1
    return cover


def rasterise(shapes, size):
    """RGBA rows, top to bottom, each pixel painted by every shape over it in order."""
    # Premultiplied colour and alpha per pixel, as floats until the end.
    pixels = [[(0.0, 0.0, 0.0, 0.0)] * size for _ in range(size)]
    scale = size / DESIGN
    for shape in shapes:
        top, bottom = vertical_extent(shape)
        colour = shape[-1]
        for row in range(max(0, int(top * scale)), min(size, int(math.ceil(bottom * scale)))):
            line = pixels[row]
            for x, a in coverage_row(shape, row, size).items():
                a = min(a, 1.0)
                r, g, b, alpha = line[x]
                keep = 1.0 - a
                line[x] = (colour[0] * a + r * keep, colour[1] * a + g * keep,
                           colour[2] * a + b * keep, a + alpha * keep)
    rows = []
    for line in pixels:
        out = []
        for r, g, b, alpha in line:
            if alpha <= 0.0:
                out.append((0, 0, 0, 0))
            else:
                out.append(tuple(min(255, int(round(v / alpha))) for v in (r, g, b)) +
                           (min(255, int(round(alpha * 255))),))
        rows.append(out)
    return rows


@functools.lru_cache(maxsize=None)
def draw_all():
    """{file name: bytes} for the SVG and every PNG size (drawn once a run: it takes seconds)."""
    shapes = drawing()
    out = {"icon.svg": encode_svg(shapes)}
    for size in SIZES:
        out["icon-%d.png" % size] = draw_assets.encode_png(rasterise(shapes, size))
    return out


def png_pixels(data):
    """The filtered-out scanlines of one of our PNGs, compared instead of the bytes so that
    another zlib's compression does not count as a change."""
    offset, idat = 8, b""
    while offset < len(data):
        length, kind = struct.unpack_from(">I4s", data, offset)
        if kind == b"IDAT":
            idat += data[offset + 8:offset + 8 + length]
        offset += 12 + length
    return data[16:24], zlib.decompress(idat)


def same_file(name, old, new):
    if name.endswith(".png"):
        try:
            return png_pixels(old) == png_pixels(new)
        except (struct.error, zlib.error):
            return False
    return old == new


def main(argv):
    here = os.path.join(os.path.dirname(os.path.abspath(__file__)), "icon")
    parser = argparse.ArgumentParser(description="Draw the editor's application icon.")
    parser.add_argument("--out", default=here, help="directory to write the icon files into")
    parser.add_argument("--check", action="store_true",
                        help="only compare the files in --out with a fresh drawing")
    args = parser.parse_args(argv)

    files = draw_all()
    if args.check:
        return draw_assets.report_stale(args.out, files, "draw_icon.py", same_file)
    os.makedirs(args.out, exist_ok=True)
    for name, data in files.items():
        with open(os.path.join(args.out, name), "wb") as f:
            f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
