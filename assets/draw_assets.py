#!/usr/bin/env python3
"""Draws the editor's tile, glyph and start-marker bitmaps.

Writes the 17 asset files (0.bmp, 1.bmp ... 9.bmp, A.bmp ... F.bmp, start.bmp) as 32 x 32
Windows BMPs: 24 bits per pixel, BITMAPINFOHEADER, rows bottom-up. The output is deterministic,
so running the script again reproduces the committed files byte for byte.

Rules the editor relies on:
  * Arrows and other markings meant to follow the arrow colour are pure black (0, 0, 0), and
    nothing else is: the arrow colour replaces exactly the pure-black pixels. The canvas below
    refuses pure black except through Canvas.mark().
  * A tile's bottom-left pixel holds its transparent colour (magenta), and that colour appears
    only where the picture should show through. Teal is kept out of the tiles.
  * The start marker's transparent colour is teal (0, 128, 128).
  * Every drawing stays inside the 31 x 31 cell; the last column and row stay transparent so
    the grid lines under the tile remain visible.

Usage:
  draw_assets.py                 write the bitmaps beside this script
  draw_assets.py --out DIR       write them into DIR
  draw_assets.py --check         fail if the files beside this script differ from the drawing
  draw_assets.py --preview PNG   also write an enlarged preview sheet (not an asset)
"""

import argparse
import math
import os
import struct
import sys
import zlib

SIZE = 32  # bitmap side
CELL = 31  # drawable side: a cell is 31 x 31, the 32nd column and row lie on the grid lines
MID = 15.5  # centre of the cell in pixel-centre coordinates

BLACK = (0, 0, 0)
MAGENTA = (255, 0, 255)
TEAL = (0, 128, 128)
WHITE = (255, 255, 255)

# ---------------------------------------------------------------------------------------------
# Colour helpers


def mix(a, b, t):
    """Linear blend from colour a (t = 0) to colour b (t = 1)."""
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def lighter(c, t):
    return mix(c, WHITE, t)


def darker(c, t):
    # Blends towards a very dark grey rather than black so no pixel can end up pure black.
    return mix(c, (16, 16, 16), t)


def jitter(c, x, y, amount):
    """A small deterministic brightness variation, for texture."""
    h = (x * 73856093) ^ (y * 19349663)
    h = (h ^ (h >> 13)) & 0xFFFF
    d = (h % (2 * amount + 1)) - amount
    return tuple(min(255, max(8, v + d)) for v in c)


# ---------------------------------------------------------------------------------------------
# Shapes: sets of (x, y) pixel positions inside the cell. A pixel belongs to a shape when its
# centre (x + 0.5, y + 0.5) lies inside it, which keeps the edges crisp and symmetric.


def in_cell(x, y):
    return 0 <= x < CELL and 0 <= y < CELL


def cell_pixels():
    return ((x, y) for y in range(CELL) for x in range(CELL))


def shape(pred):
    return {(x, y) for (x, y) in cell_pixels() if pred(x + 0.5, y + 0.5)}


def rect(x0, y0, x1, y1):
    """Pixels x0..x1, y0..y1 inclusive."""
    return {(x, y) for x in range(x0, x1 + 1) for y in range(y0, y1 + 1) if in_cell(x, y)}


def rounded_rect(x0, y0, x1, y1, r):
    """Rectangle x0..x1, y0..y1 inclusive with corners rounded to radius r."""
    ax0, ay0, ax1, ay1 = x0 + r, y0 + r, x1 + 1 - r, y1 + 1 - r

    def inside(px, py):
        if not (x0 <= px <= x1 + 1 and y0 <= py <= y1 + 1):
            return False
        dx = max(ax0 - px, 0, px - ax1)
        dy = max(ay0 - py, 0, py - ay1)
        return dx * dx + dy * dy <= r * r

    return shape(inside)


def disc(cx, cy, r):
    return shape(lambda px, py: (px - cx) ** 2 + (py - cy) ** 2 <= r * r)


def ring(cx, cy, r_out, r_in):
    return disc(cx, cy, r_out) - disc(cx, cy, r_in)


def polygon(points):
    """Even-odd fill of a closed polygon given in pixel-edge coordinates."""

    def inside(px, py):
        hit = False
        n = len(points)
        for i in range(n):
            (ax, ay), (bx, by) = points[i], points[(i + 1) % n]
            if (ay > py) != (by > py):
                if px < ax + (py - ay) * (bx - ax) / (by - ay):
                    hit = not hit
        return hit

    return shape(inside)


def segment(ax, ay, bx, by, width):
    """A straight stroke of the given width between two points."""
    half = width / 2.0
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy

    def inside(px, py):
        t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length2))
        qx, qy = ax + t * dx, ay + t * dy
        return (px - qx) ** 2 + (py - qy) ** 2 <= half * half

    return shape(inside)


def arc(cx, cy, r_out, r_in, start_deg, end_deg):
    """Part of a ring, angles in degrees measured clockwise on screen from the +x axis."""

    def inside(px, py):
        d2 = (px - cx) ** 2 + (py - cy) ** 2
        if not (r_in * r_in <= d2 <= r_out * r_out):
            return False
        a = math.degrees(math.atan2(py - cy, px - cx)) % 360
        return (a - start_deg) % 360 <= (end_deg - start_deg) % 360

    return shape(inside)


def rotate(pixels, quarter_turns):
    """Turns a shape clockwise about the cell's centre pixel in steps of 90 degrees."""
    out = set(pixels)
    for _ in range(quarter_turns % 4):
        out = {(CELL - 1 - y, x) for (x, y) in out}
    return out


def shifted(pixels, dx, dy):
    return {(x + dx, y + dy) for (x, y) in pixels if in_cell(x + dx, y + dy)}


NEIGHBOURS4 = ((1, 0), (-1, 0), (0, 1), (0, -1))
NEIGHBOURS8 = NEIGHBOURS4 + ((1, 1), (1, -1), (-1, 1), (-1, -1))


def halo(pixels, neighbours=NEIGHBOURS8):
    """The pixels just outside a shape."""
    out = set()
    for x, y in pixels:
        for dx, dy in neighbours:
            q = (x + dx, y + dy)
            if q not in pixels and in_cell(*q):
                out.add(q)
    return out


def edge(pixels, neighbours=NEIGHBOURS4):
    """The pixels of a shape that touch its outside."""
    return {(x, y) for (x, y) in pixels
            if any((x + dx, y + dy) not in pixels for dx, dy in neighbours)}


def lit_edge(pixels):
    """Inner pixels facing up or left: where light from the top-left falls."""
    return {(x, y) for (x, y) in pixels if (x, y - 1) not in pixels or (x - 1, y) not in pixels}


def shade_edge(pixels):
    """Inner pixels facing down or right."""
    return {(x, y) for (x, y) in pixels if (x, y + 1) not in pixels or (x + 1, y) not in pixels}


# ---------------------------------------------------------------------------------------------
# Canvas


class Canvas:
    """A 32 x 32 picture; None marks a transparent pixel until it is written out."""

    def __init__(self, clear_colour):
        self.clear_colour = clear_colour
        self.pixels = [[None] * SIZE for _ in range(SIZE)]

    def paint(self, where, colour):
        """Paints a shape in a colour, or a function (x, y) -> colour, never pure black."""
        for x, y in where:
            c = colour(x, y) if callable(colour) else colour
            if c == BLACK:
                raise ValueError("pure black is reserved for arrows and markings")
            if c == self.clear_colour:
                raise ValueError("the transparent colour is written only by clear()")
            self.pixels[y][x] = tuple(c)

    def mark(self, where):
        """Paints an arrow or marking in pure black, the colour the arrow colour replaces."""
        for x, y in where:
            self.pixels[y][x] = BLACK

    def clear(self, where):
        """Makes pixels transparent again (holes, cut corners)."""
        for x, y in where:
            self.pixels[y][x] = None

    def opaque(self):
        return {(x, y) for y in range(SIZE) for x in range(SIZE) if self.pixels[y][x] is not None}

    def rows(self):
        """Rows top to bottom as RGB tuples, transparent pixels in the transparent colour."""
        return [[p if p is not None else self.clear_colour for p in row] for row in self.pixels]


def outline(canvas, pixels, colour):
    """Draws a one-pixel outline just outside a shape."""
    canvas.paint(halo(pixels) - pixels, colour)


def bevel(canvas, pixels, base, light=0.35, dark=0.3):
    """Fills a shape with a flat colour and a one-pixel light top-left and dark bottom-right."""
    canvas.paint(pixels, base)
    canvas.paint(shade_edge(pixels), darker(base, dark))
    canvas.paint(lit_edge(pixels) - shade_edge(pixels), lighter(base, light))


# ---------------------------------------------------------------------------------------------
# The tiles

INK = (40, 40, 40)  # outlines: dark, but never the arrow colour


def arrow_up():
    """A bold upward arrow centred in the cell: head 21 wide, shaft 7 wide."""
    head = polygon([(MID, 4), (26, 14), (5, 14)])
    shaft = rect(12, 14, 18, 26)
    return head | shaft


def draw_conveyor(quarter_turns):
    """Conveyor plate moving things the way its arrow points."""
    c = Canvas(MAGENTA)
    steel = (112, 128, 146)
    plate = rounded_rect(0, 0, CELL - 1, CELL - 1, 4)
    c.paint(plate, steel)
    # Belt ridges across the direction of travel, drawn for the upward plate and turned.
    ridges = set()
    for y in range(3, CELL - 2, 4):
        ridges |= rect(2, y, CELL - 3, y)
    c.paint(rotate(ridges, quarter_turns) & plate, darker(steel, 0.18))
    inner = plate - edge(plate)
    c.paint(lit_edge(inner) - shade_edge(inner), lighter(steel, 0.45))
    c.paint(shade_edge(inner), darker(steel, 0.35))
    c.paint(edge(plate), (36, 42, 52))
    arrow = rotate(arrow_up(), quarter_turns)
    # A light rim keeps the arrow readable whatever colour it is given.
    c.paint(halo(arrow) & inner, (214, 222, 232))
    c.mark(arrow)
    return c


def draw_wall():
    """Brick wall; neighbouring walls join into one."""
    c = Canvas(MAGENTA)
    block = rounded_rect(0, 0, CELL - 1, CELL - 1, 1)
    mortar = (196, 186, 166)
    c.paint(block, mortar)
    course_h, brick_w = 5, 10
    for row in range(5):
        y0 = 1 + row * (course_h + 1)
        offset = 0 if row % 2 == 0 else -(brick_w + 1) // 2
        x = 1 + offset
        n = 0
        while x < CELL - 1:
            x0, x1 = max(x, 1), min(x + brick_w - 1, CELL - 2)
            if x1 >= x0:
                brick = rect(x0, y0, x1, y0 + course_h - 1)
                base = jitter((172, 66, 46), row * 7 + n, row, 14)
                bevel(c, brick, base, light=0.28, dark=0.28)
                # A few specks for a fired-clay texture.
                c.paint({p for p in brick if (p[0] * 5 + p[1] * 3 + row) % 11 == 0} - edge(brick),
                        darker(base, 0.15))
            x += brick_w + 1
            n += 1
    c.paint(edge(block), (66, 32, 26))
    return c


def draw_crate():
    """Wooden crate that can be pushed around; the stencilled arrows say so."""
    c = Canvas(MAGENTA)
    box = rect(1, 1, CELL - 2, CELL - 2)
    plank = (214, 160, 92)
    frame = (168, 108, 52)
    c.paint(box, plank)
    for x in range(7, CELL - 2, 6):
        c.paint(rect(x, 5, x, CELL - 6), darker(plank, 0.18))
    border = box - rect(5, 5, CELL - 6, CELL - 6)
    bevel(c, border, frame, light=0.3, dark=0.3)
    # Stencilled four-way arrow: the crate can be pushed in every direction.
    cross = set()
    for turns in range(4):
        cross |= rotate(polygon([(MID, 5.0), (19.5, 10.0), (11.5, 10.0)]) | rect(14, 10, 16, 15),
                        turns)
    c.paint(halo(cross) - border - cross, lighter(plank, 0.3))
    c.mark(cross)
    for x, y in ((3, 3), (CELL - 4, 3), (3, CELL - 4), (CELL - 4, CELL - 4)):
        c.paint({(x, y)}, (96, 62, 30))
    c.paint(edge(box), (74, 42, 18))
    return c


def draw_goal():
    """Chequered goal flag: reaching it ends the level."""
    c = Canvas(MAGENTA)
    pole = rect(5, 4, 6, 27)
    foot = rounded_rect(2, 26, 9, 29, 1)
    flag_top, flag_bottom = 5, 18

    def wave(x):
        return round(1.6 * math.sin((x - 7) / 20.0 * 2 * math.pi))

    flag = set()
    for x in range(7, 28):
        for y in range(flag_top, flag_bottom + 1):
            flag.add((x, y + wave(x)))
    everything = pole | foot | flag | disc(5.9, 3.4, 2.2)
    outline(c, everything, INK)
    c.paint(pole, (170, 172, 182))
    c.paint({p for p in pole if p[0] == 6}, (112, 114, 126))
    bevel(c, foot, (120, 122, 134))
    c.paint(disc(5.9, 3.4, 2.2), (236, 196, 64))
    c.paint({(5, 2)}, (255, 240, 170))
    for x, y in flag:
        sq = ((x - 7) // 4 + (y - wave(x) - flag_top) // 4) % 2
        c.paint({(x, y)}, (250, 250, 250) if sq == 0 else (46, 46, 52))
    return c


def draw_spikes():
    """Row of steel spikes on a red base: deadly to touch."""
    c = Canvas(MAGENTA)
    base = rect(1, 24, CELL - 2, 29)
    spikes = set()
    left_halves = set()
    for i in range(4):
        x0 = 1 + i * 7
        tip = x0 + 3.5
        s = polygon([(tip, 5), (x0 + 7, 24.5), (x0, 24.5)])
        spikes |= s
        left_halves |= {p for p in s if p[0] + 0.5 < tip}
    outline(c, spikes | base, INK)
    c.paint(spikes, (134, 140, 156))
    c.paint(left_halves, (222, 226, 236))
    c.paint({p for p in spikes if p[1] <= 8}, (250, 250, 252))
    bevel(c, base, (176, 36, 36), light=0.35, dark=0.35)
    for x in range(4, CELL - 3, 7):
        c.paint(rect(x, 26, x + 1, 27), (120, 22, 22))
    return c


def draw_water():
    """Deep water with white wave crests."""
    c = Canvas(MAGENTA)
    pool = rounded_rect(0, 0, CELL - 1, CELL - 1, 2)
    top, bottom = (46, 120, 222), (18, 58, 150)
    c.paint(pool, lambda x, y: mix(top, bottom, y / (CELL - 1)))
    for k, y0 in enumerate((5, 13, 21)):
        crest = set()
        for x in range(1, CELL - 1):
            y = y0 + round(1.8 * math.sin((x + k * 5) / 12.0 * 2 * math.pi))
            crest.add((x, y))
            crest.add((x, y + 1))
        crest &= pool - edge(pool)
        c.paint(shifted(crest, 0, 1) - crest, (22, 64, 160))
        c.paint(crest, lambda x, y: (196, 228, 255) if (x + k) % 8 < 5 else (120, 180, 245))
    c.paint(edge(pool), (12, 36, 96))
    return c


def draw_key():
    """Gold key: opens a locked door."""
    c = Canvas(MAGENTA)
    bow = disc(8.5, 15.5, 6.8)
    hole = disc(8.5, 15.5, 3.0)
    shaft = rect(14, 14, 28, 17)
    bits = rect(20, 18, 22, 22) | rect(25, 18, 28, 24)
    key = (bow - hole) | shaft | bits
    outline(c, key | hole, (92, 56, 4))
    gold = (234, 184, 40)
    c.paint(key, gold)
    c.paint(shade_edge(key), (176, 120, 16))
    c.paint(lit_edge(key) - shade_edge(key), (255, 232, 130))
    c.paint(edge(hole), (92, 56, 4))
    c.paint({(5, 12), (6, 11)}, (255, 250, 220))
    return c


def draw_door():
    """Locked wooden door with a keyhole: a key opens it."""
    c = Canvas(MAGENTA)
    arch = disc(MID, 13.0, 11.6) | rect(4, 13, 26, 29)
    arch = {p for p in arch if 4 <= p[0] <= 26 and p[1] >= 1}
    wood = (150, 74, 40)
    c.paint(arch, wood)
    for x in range(8, 26, 4):
        c.paint({p for p in arch if p[0] == x}, darker(wood, 0.28))
    for y in (9, 24):
        band = {p for p in arch if y <= p[1] <= y + 1}
        c.paint(band, (104, 106, 118))
        c.paint({p for p in band if p[1] == y}, (150, 152, 164))
    c.paint(edge(arch, NEIGHBOURS8), (58, 28, 14))
    plate = rounded_rect(12, 14, 18, 23, 1)
    bevel(c, plate, (232, 190, 56))
    c.paint(edge(plate, NEIGHBOURS8), (110, 72, 10))
    # Keyhole: a round opening over a slot that widens downwards.
    c.mark(rect(15, 16, 15, 16) | rect(14, 17, 16, 18) | rect(15, 19, 15, 19) |
           rect(14, 20, 16, 21))
    return c


def draw_ice():
    """Slippery ice block, marked with a snowflake: whatever steps on it slides."""
    c = Canvas(MAGENTA)
    block = rounded_rect(0, 0, CELL - 1, CELL - 1, 2)
    top, bottom = (222, 246, 255), (136, 200, 238)
    c.paint(block, lambda x, y: mix(top, bottom, (x + y) / (2.0 * (CELL - 1))))
    inner = block - edge(block)
    c.paint(lit_edge(inner) - shade_edge(inner), WHITE)
    c.paint(shade_edge(inner), (104, 170, 212))
    c.paint(segment(4, 10, 10, 4, 1.8), WHITE)
    c.paint(segment(21, 27, 27, 21, 1.8), WHITE)
    # Six-armed snowflake with a fork on each arm.
    flake = set()
    for k in range(6):
        a = math.radians(90 + 60 * k)
        ux, uy = math.cos(a), -math.sin(a)
        flake |= segment(MID, MID, MID + 10 * ux, MID + 10 * uy, 1.2)
        fx, fy = MID + 6.0 * ux, MID + 6.0 * uy
        for side in (-1, 1):
            b = a + side * math.radians(45)
            flake |= segment(fx, fy, fx + 3.2 * math.cos(b), fy - 3.2 * math.sin(b), 1.0)
    c.paint(halo(flake, NEIGHBOURS4) & inner, (96, 164, 216))
    c.paint(flake, WHITE)
    c.paint(edge(block), (48, 108, 156))
    return c


def draw_teleporter():
    """Teleporter pad; the swirl of arrows says it sends you elsewhere."""
    c = Canvas(MAGENTA)
    pad = disc(MID, MID, 14.6)
    c.paint(pad, lambda x, y: mix((250, 226, 255), (112, 36, 168),
                                   min(1.0, math.hypot(x + 0.5 - MID, y + 0.5 - MID) / 13.0)))
    c.paint(ring(MID, MID, 14.6, 12.6), (132, 52, 196))
    c.paint(ring(MID, MID, 12.6, 11.7), (196, 140, 240))
    c.paint(edge(pad, NEIGHBOURS8), (62, 18, 96))
    # Two chasing arrows around the centre.
    arrows = set()
    for start in (0, 180):
        arrows |= arc(MID, MID, 9.6, 6.9, start + 25, start + 140)
        a = math.radians(start + 140)
        tangent = (-math.sin(a), math.cos(a))  # clockwise direction
        radial = (math.cos(a), math.sin(a))
        base_x, base_y = MID + 8.25 * radial[0], MID + 8.25 * radial[1]
        tip = (base_x + 5.0 * tangent[0], base_y + 5.0 * tangent[1])
        left = (base_x + 4.3 * radial[0], base_y + 4.3 * radial[1])
        right = (base_x - 4.3 * radial[0], base_y - 4.3 * radial[1])
        arrows |= polygon([tip, left, right])
    c.paint(halo(arrows) & pad - edge(pad, NEIGHBOURS8), (252, 238, 255))
    c.mark(arrows)
    return c


def draw_bomb():
    """Bomb with a lit fuse: blows up what stands next to it."""
    c = Canvas(MAGENTA)
    body = disc(13.5, 18.0, 10.6)
    cap = polygon([(17.5, 5.5), (23.5, 11.5), (20.0, 15.0), (14.0, 9.0)])
    fuse = segment(21.0, 8.0, 24.0, 5.0, 1.6)
    spark = polygon([(25.5, 0.6), (26.6, 3.2), (29.8, 2.6), (27.5, 4.6), (29.8, 7.0),
                     (26.5, 6.0), (25.2, 9.2), (24.6, 6.0), (21.2, 6.2), (23.9, 4.2),
                     (22.2, 1.6), (25.0, 3.2)])
    outline(c, body | cap | fuse, (222, 226, 236))
    c.paint(body, lambda x, y: mix((104, 110, 140), (42, 44, 60),
                                   min(1.0, math.hypot(x + 0.5 - 9.5, y + 0.5 - 13.5) / 14.0)))
    c.paint(disc(9.6, 13.6, 2.4), (178, 186, 214))
    c.paint({(8, 12), (9, 12)}, (236, 240, 252))
    c.paint(edge(body, NEIGHBOURS8), (26, 26, 34))
    c.paint(cap, (128, 130, 144))
    c.paint(edge(cap, NEIGHBOURS8), (60, 62, 74))
    c.paint(fuse, (196, 150, 90))
    c.paint(spark, (255, 160, 24))
    c.paint(disc(25.9, 4.6, 1.5), (255, 246, 150))
    return c


def draw_gem():
    """Cut ruby, worth collecting."""
    c = Canvas(MAGENTA)
    top, girdle, bottom = 5, 12, 28
    crown = polygon([(9, top), (22, top), (29, girdle), (2, girdle)])
    pavilion = polygon([(2, girdle), (29, girdle), (MID, bottom)])
    gem = crown | pavilion
    outline(c, gem, (84, 8, 30))
    c.paint(gem, (214, 26, 64))
    # Facets: a light table on the crown, alternating light and dark wedges below it.
    c.paint(polygon([(11, top), (20, top), (22.5, girdle), (8.5, girdle)]) & crown,
            (255, 122, 150))
    c.paint(polygon([(2, girdle), (9, top), (8.5, girdle)]) & crown, (240, 70, 104))
    c.paint(polygon([(22.5, girdle), (22, top), (29, girdle)]) & crown, (162, 14, 48))
    c.paint(polygon([(2, girdle), (8.5, girdle), (MID, bottom)]) & pavilion, (236, 58, 94))
    c.paint(polygon([(8.5, girdle), (MID, girdle), (MID, bottom)]) & pavilion, (255, 102, 134))
    c.paint(polygon([(22.5, girdle), (29, girdle), (MID, bottom)]) & pavilion, (136, 10, 40))
    c.paint({(x, girdle) for x in range(2, 29)} & gem, (255, 178, 196))
    c.paint({(13, 7), (14, 7), (13, 8), (12, 7), (13, 6)}, WHITE)
    return c


def draw_empty_glyph():
    """Palette glyph for the empty tile: a dashed empty cell with an eraser over it."""
    c = Canvas(MAGENTA)
    frame = edge(rect(2, 2, 28, 28))
    c.paint({(x, y) for (x, y) in frame if (x + y) % 4 < 2}, (96, 96, 104))
    body = polygon([(14.5, 8.0), (27.5, 21.0), (20.0, 28.5), (7.0, 15.5)])
    sleeve = polygon([(14.5, 8.0), (27.5, 21.0), (23.75, 24.75), (10.75, 11.75)])
    outline(c, body, (52, 52, 64))
    c.paint(body, (240, 134, 150))
    c.paint(sleeve, (72, 132, 212))
    c.paint(lit_edge(body) & sleeve, (150, 196, 250))
    c.paint(lit_edge(body) - sleeve, (255, 196, 206))
    c.paint({(x, y) for (x, y) in body if 27 <= x + y <= 28} - edge(body), (196, 90, 108))
    for x0 in (4, 9):
        c.paint(rect(x0, 27, x0 + 2, 27), (150, 150, 160))
    return c


def draw_start():
    """Start marker: a green 'go' button with a black play arrow, where the player begins."""
    c = Canvas(TEAL)
    button = disc(MID, MID, 13.2)
    outline(c, button, (236, 252, 236))
    c.paint(button, lambda x, y: mix((120, 236, 120), (20, 140, 44),
                                     min(1.0, math.hypot(x + 0.5 - 11, y + 0.5 - 10) / 18.0)))
    c.paint(edge(button, NEIGHBOURS8), (8, 72, 24))
    arrow = polygon([(11.0, 7.0), (24.0, MID), (11.0, 24.0)])
    c.paint(halo(arrow) & button - edge(button, NEIGHBOURS8), (220, 255, 220))
    c.mark(arrow)
    return c


# File name, what it is in the game, drawing function, whether it is a tile (1 ... 15).
ASSETS = [
    ("0.bmp", "empty tile (palette glyph: erases a cell)", draw_empty_glyph),
    ("1.bmp", "conveyor up", lambda: draw_conveyor(0)),
    ("2.bmp", "conveyor right", lambda: draw_conveyor(1)),
    ("3.bmp", "conveyor down", lambda: draw_conveyor(2)),
    ("4.bmp", "conveyor left", lambda: draw_conveyor(3)),
    ("5.bmp", "brick wall", draw_wall),
    ("6.bmp", "pushable crate", draw_crate),
    ("7.bmp", "goal flag", draw_goal),
    ("8.bmp", "spikes", draw_spikes),
    ("9.bmp", "water", draw_water),
    ("A.bmp", "key", draw_key),
    ("B.bmp", "locked door", draw_door),
    ("C.bmp", "ice", draw_ice),
    ("D.bmp", "teleporter", draw_teleporter),
    ("E.bmp", "bomb", draw_bomb),
    ("F.bmp", "gem", draw_gem),
    ("start.bmp", "start marker", draw_start),
]

# ---------------------------------------------------------------------------------------------
# Output


def encode_bmp(rows):
    """A 24-bit bottom-up BMP with a BITMAPINFOHEADER; rows are given top to bottom."""
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += bytes(stride - len(line))
        pixels += line
    offset = 14 + 40
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info_header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835,
                              2835, 0, 0)
    return file_header + info_header + bytes(pixels)


def check_rules(name, canvas):
    """Fails when a drawing breaks a rule the editor relies on."""
    rows = canvas.rows()
    if rows[SIZE - 1][0] != canvas.clear_colour:
        raise ValueError(f"{name}: bottom-left pixel is not the transparent colour")
    if any(rows[y][SIZE - 1] != canvas.clear_colour for y in range(SIZE)) or any(
            p != canvas.clear_colour for p in rows[SIZE - 1]):
        raise ValueError(f"{name}: drawing spills onto the grid lines")
    if name != "start.bmp" and any(p == TEAL for row in rows for p in row):
        raise ValueError(f"{name}: teal inside a tile")


def draw_all():
    """Returns {file name: BMP bytes} for every asset."""
    out = {}
    for name, _, draw in ASSETS:
        canvas = draw()
        check_rules(name, canvas)
        out[name] = encode_bmp(canvas.rows())
    return out


def decode_own_bmp(data):
    """Reads back a BMP written by encode_bmp (top row first), for the preview."""
    width, height = struct.unpack_from("<ii", data, 18)
    offset = struct.unpack_from("<I", data, 10)[0]
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(height - 1, -1, -1):
        base = offset + y * stride
        rows.append([(data[base + 3 * x + 2], data[base + 3 * x + 1], data[base + 3 * x])
                     for x in range(width)])
    return rows


def encode_png(rows):
    """An 8-bit PNG of rows of RGB or RGBA pixels, rows stored unfiltered."""
    raw = b"".join(b"\x00" + bytes(v for p in row for v in p) for row in rows)
    colour_type = 6 if len(rows[0][0]) == 4 else 2

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

    header = struct.pack(">IIBBBBB", len(rows[0]), len(rows), 8, colour_type, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) +
            chunk(b"IEND", b""))


def photo_background(x, y):
    """A made-up landscape: sky, hills, dark shadows and bright patches, like a level picture."""
    sky = mix((120, 170, 230), (230, 220, 200), min(1.0, y / 60.0))
    ground_line = 58 + 10 * math.sin(x / 37.0) + 4 * math.sin(x / 9.0)
    if y < ground_line:
        return sky
    t = (y - ground_line) / 80.0
    base = mix((90, 140, 60), (50, 40, 30), min(1.0, t + 0.3 * math.sin(x / 23.0)))
    if math.sin(x / 11.0) * math.cos(y / 7.0) > 0.6:
        base = mix(base, (20, 20, 24), 0.7)
    if math.sin(x / 17.0 + y / 13.0) > 0.85:
        base = mix(base, (240, 230, 190), 0.6)
    return jitter(base, x, y, 6)


def write_preview(path, bitmaps):
    """Every asset at 4x on grey, on a photo-like picture, with a recoloured arrow colour, and a
    small level at 2x with grid lines."""
    scale, gap = 4, 4
    names = [name for name, _, _ in ASSETS]
    tile_px = SIZE * scale
    width = len(names) * (tile_px + gap) + gap
    strip_h = tile_px + 2 * gap

    def blit(canvas_rows, ox, oy, rows, key, recolour=None, s=scale):
        for y, row in enumerate(rows):
            for x, p in enumerate(row):
                if p == key:
                    continue
                if recolour is not None and p == BLACK:
                    p = recolour
                for dy in range(s):
                    for dx in range(s):
                        canvas_rows[oy + y * s + dy][ox + x * s + dx] = p

    level_cols, level_rows = 12, 4
    level_h = level_rows * 32 * 2
    height = 4 * strip_h + level_h + gap
    sheet = [[(128, 128, 128)] * width for _ in range(height)]
    for y in range(strip_h, 4 * strip_h):
        for x in range(width):
            sheet[y][x] = photo_background(x // scale, (y - strip_h) // scale)
    for y in range(3 * strip_h, 4 * strip_h):
        for x in range(width):
            sheet[y][x] = mix((30, 30, 30), (230, 230, 230), x / width)
    for i, name in enumerate(names):
        rows = decode_own_bmp(bitmaps[name])
        key = rows[SIZE - 1][0]
        ox = gap + i * (tile_px + gap)
        blit(sheet, ox, gap, rows, key)
        blit(sheet, ox, strip_h + gap, rows, key)
        blit(sheet, ox, 2 * strip_h + gap, rows, key, recolour=(255, 220, 0))
        blit(sheet, ox, 3 * strip_h + gap, rows, key, recolour=(220, 30, 30))
    # A corner of a level: picture, grid lines, tiles at their cell positions, the start marker.
    top = 4 * strip_h
    for y in range(level_h):
        for x in range(level_cols * 64):
            px, py = x // 2, y // 2
            sheet[top + y][x] = ((200, 200, 200) if px % 32 == 31 or py % 32 == 31 else
                                 photo_background(px + 200, py + 20))
    layout = ["1", "2", "3", "4", "5", "5", "6", "7", "8", "9", "9", "A",
              "B", "C", "D", "E", "F", "0", "6", "6", "5", "C", "C", "1"]
    for k, code in enumerate(layout):
        if code == "0":
            continue
        rows = decode_own_bmp(bitmaps[code + ".bmp"])
        blit(sheet, (k % level_cols) * 64, top + (k // level_cols) * 64, rows, rows[SIZE - 1][0],
             s=2)
    start = decode_own_bmp(bitmaps["start.bmp"])
    blit(sheet, 5 * 64, top + 64, start, TEAL, s=2)
    blit(sheet, 5 * 64, top + 2 * 64 + 64, start, TEAL, s=2)
    # The palette: sixteen 41 x 41 buttons, glyphs centred, at 2x.
    for k in range(16):
        bx = level_cols * 64 + 32 + (k % 8) * 96
        by = top + 16 + (k // 8) * 96
        for y in range(82):
            for x in range(82):
                border = x < 2 or y < 2 or x >= 80 or y >= 80
                sheet[by + y][bx + x] = (160, 160, 160) if border else (240, 240, 240)
        rows = decode_own_bmp(bitmaps["%X.bmp" % k])
        blit(sheet, bx + 8, by + 8, rows, rows[SIZE - 1][0], s=2)
    with open(path, "wb") as f:
        f.write(encode_png(sheet))


def report_stale(directory, files, script, same=lambda name, old, new: old == new):
    """Compares the files in `directory` with the freshly drawn `files` ({name: bytes}); says on
    stderr which differ or are missing. Returns the exit status: 0 when all are the same."""
    stale = []
    for name, data in files.items():
        try:
            with open(os.path.join(directory, name), "rb") as f:
                if same(name, f.read(), data):
                    continue
        except OSError:
            pass
        stale.append(name)
    if stale:
        print("out of date (run %s): %s" % (script, ", ".join(stale)), file=sys.stderr)
        return 1
    return 0


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description="Draw the editor's asset bitmaps.")
    parser.add_argument("--out", default=here, help="directory to write the bitmaps into")
    parser.add_argument("--check", action="store_true",
                        help="only compare the bitmaps in --out with a fresh drawing")
    parser.add_argument("--preview", help="also write an enlarged PNG preview sheet here")
    args = parser.parse_args(argv)

    bitmaps = draw_all()
    if args.check:
        return report_stale(args.out, bitmaps, "draw_assets.py")
    for name, data in bitmaps.items():
        with open(os.path.join(args.out, name), "wb") as f:
            f.write(data)
    if args.preview:
        write_preview(args.preview, bitmaps)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
