#!/usr/bin/env python3
"""Draws the example level: its 640 x 447 picture as a PPM file, and its data file.

Python 3, standard library only. The picture is turned into the level's JPEG by the
`ppm_to_jpeg` tool of the build (see README.md beside this script):

    python3 draw_example.py /tmp/meadow.ppm      # also rewrites meadow.dat here
"""

import math
import os
import sys

WIDTH, HEIGHT = 640, 447

# The level: the music file's name, then 13 rows of 19 tile codes.
MUSIC = "meadow.mid"
ROWS = [
    "0000000000000000000",
    "0555555000000005550",
    "0500000000A00000050",
    "0500000000000000050",
    "0500099900000000050",
    "0500099900000F00050",
    "0500000000000000050",
    "0522220000000000050",
    "0000000000000000B70",
    "00000000000E0000000",
    "0000000000000000000",
    "0088800000CC0000D00",
    "0000000000000000000",
]


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def pixel(x, y):
    """The colour of picture pixel (x, y): sky, sun, two rows of hills and a winding path."""
    sky = mix((120, 170, 230), (225, 235, 245), y / 200)
    far = 190 + 25 * math.sin(x / 70) + 12 * math.sin(x / 23 + 1)
    near = 260 + 30 * math.sin(x / 110 + 2) + 8 * math.sin(x / 31)
    if y < far:
        d = math.hypot(x - 520, y - 70)
        if d < 34:
            return (255, 236, 150)
        return mix((255, 240, 190), sky, min(1.0, (d - 34) / 40)) if d < 74 else sky
    if y < near:
        return mix((110, 160, 110), (80, 135, 85), (y - far) / 120)
    grass = mix((96, 170, 70), (60, 120, 45), (y - near) / (HEIGHT - near))
    path_x = 320 + 90 * math.sin(y / 45) * (y - near) / HEIGHT
    if abs(x - path_x) < 10 + (y - near) / 8:
        return (196, 170, 120)
    # Tufts of grass: a little reproducible texture.
    if (x * 7 + y * 13) % 23 == 0:
        return mix(grass, (40, 90, 30), 0.5)
    return grass


def write_ppm(path):
    body = bytearray()
    for y in range(HEIGHT):
        for x in range(WIDTH):
            body.extend(pixel(x, y))
    with open(path, "wb") as f:
        f.write(b"P6\n%d %d\n255\n" % (WIDTH, HEIGHT))
        f.write(body)


def write_data_file(path):
    assert len(ROWS) == 13 and all(len(row) == 19 for row in ROWS)
    with open(path, "wb") as f:
        f.write(("\r\n".join([MUSIC] + ROWS) + "\r\n").encode("ascii"))


def main(argv):
    if len(argv) != 1:
        print("usage: draw_example.py OUT.ppm", file=sys.stderr)
        return 2
    write_ppm(argv[0])
    write_data_file(os.path.join(os.path.dirname(os.path.abspath(__file__)), "meadow.dat"))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
