#!/usr/bin/env python3
"""Checks the committed asset bitmaps: their format, their transparent colours and their arrows.

The files are read with a reader written here from the BMP layout, independent of the writer in
draw_assets.py, so a fault in the writer shows up as a failure.
"""

import contextlib
import io
import os
import struct
import tempfile
import unittest

import draw_assets

HERE = os.path.dirname(os.path.abspath(__file__))
TILE_FILES = ["%X.bmp" % i for i in range(1, 16)]
ALL_FILES = ["0.bmp"] + TILE_FILES + ["start.bmp"]
BLACK = (0, 0, 0)
MAGENTA = (255, 0, 255)
TEAL = (0, 128, 128)


def read_file(name):
    with open(os.path.join(HERE, name), "rb") as f:
        return f.read()


def pixels(data):
    """{(x, y): (r, g, b)} with y = 0 the top row, for a 24-bit bottom-up BMP."""
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height = struct.unpack_from("<ii", data, 18)
    stride = (width * 3 + 3) // 4 * 4
    out = {}
    for y in range(height):
        row = offset + (height - 1 - y) * stride
        for x in range(width):
            b, g, r = data[row + 3 * x:row + 3 * x + 3]
            out[(x, y)] = (r, g, b)
    return out


def black_pixels(name):
    return {p for p, c in pixels(read_file(name)).items() if c == BLACK}


class FileFormatTest(unittest.TestCase):

    def test_files_match_the_drawing_script(self):
        drawn = draw_assets.draw_all()
        self.assertEqual(sorted(drawn), sorted(ALL_FILES))
        for name in ALL_FILES:
            with self.subTest(name=name):
                self.assertEqual(read_file(name), drawn[name],
                                 "stale bitmap: run draw_assets.py")

    def test_every_file_is_a_32x32_24bit_bottom_up_bmp(self):
        for name in ALL_FILES:
            with self.subTest(name=name):
                data = read_file(name)
                magic, file_size, _, _, offset = struct.unpack_from("<2sIHHI", data, 0)
                (header_size, width, height, planes, bits, compression,
                 image_size) = struct.unpack_from("<IiiHHII", data, 14)
                self.assertEqual(magic, b"BM")
                self.assertEqual(file_size, len(data))
                self.assertEqual((header_size, offset), (40, 54))
                self.assertEqual((width, height), (32, 32))  # positive height: bottom-up
                self.assertEqual((planes, bits, compression), (1, 24, 0))
                self.assertEqual(image_size, 32 * 32 * 3)
                self.assertEqual(len(data), 54 + 32 * 32 * 3)

    def test_rows_are_padded_to_four_bytes(self):
        # 3 pixels of 3 bytes need 3 bytes of padding per row; rows are stored bottom row first.
        rows = [[(1, 2, 3)] * 3, [(4, 5, 6)] * 3]
        data = draw_assets.encode_bmp(rows)
        self.assertEqual(len(data), 54 + 2 * 12)
        self.assertEqual(data[54:66], bytes((6, 5, 4) * 3 + (0, 0, 0)))
        self.assertEqual(pixels(data)[(2, 0)], (1, 2, 3))

    def test_check_mode_reports_missing_and_changed_bitmaps(self):
        with tempfile.TemporaryDirectory() as out, contextlib.redirect_stderr(io.StringIO()):
            self.assertEqual(draw_assets.main(["--check", "--out", out]), 1)
            self.assertEqual(draw_assets.main(["--out", out]), 0)
            self.assertEqual(sorted(os.listdir(out)), sorted(ALL_FILES))
            self.assertEqual(draw_assets.main(["--check", "--out", out]), 0)
            with open(os.path.join(out, "7.bmp"), "r+b") as f:
                f.seek(100)
                f.write(b"\x01")
            self.assertEqual(draw_assets.main(["--check", "--out", out]), 1)


class TransparencyTest(unittest.TestCase):

    def test_bottom_left_pixel_is_the_transparent_colour(self):
        for name in ALL_FILES:
            with self.subTest(name=name):
                expected = TEAL if name == "start.bmp" else MAGENTA
                self.assertEqual(pixels(read_file(name))[(0, 31)], expected)

    def test_drawings_leave_the_grid_lines_visible(self):
        # The 32nd column and row lie on the grid lines right of and below a 31 x 31 cell.
        for name in ALL_FILES:
            with self.subTest(name=name):
                px = pixels(read_file(name))
                key = px[(0, 31)]
                self.assertTrue(all(px[(31, y)] == key for y in range(32)))
                self.assertTrue(all(px[(x, 31)] == key for x in range(32)))

    def test_tiles_show_through_somewhere_and_never_use_teal(self):
        for name in ["0.bmp"] + TILE_FILES:
            with self.subTest(name=name):
                colours = set(pixels(read_file(name)).values())
                self.assertNotIn(TEAL, colours)
                self.assertGreater(len(colours), 4)

    def test_start_marker_keeps_teal_only_as_background(self):
        px = pixels(read_file("start.bmp"))
        teal = {p for p, c in px.items() if c == TEAL}
        # The background reaches every corner, and the middle is covered by the marker.
        for corner in ((0, 0), (30, 0), (0, 30), (30, 30)):
            self.assertIn(corner, teal)
        self.assertNotIn((15, 15), teal)
        self.assertNotIn(MAGENTA, set(px.values()))


class ArrowTest(unittest.TestCase):

    def test_conveyor_arrows_are_the_same_arrow_turned(self):
        up = black_pixels("1.bmp")
        self.assertGreater(len(up), 100)
        turned = up
        for name in ("2.bmp", "3.bmp", "4.bmp"):
            # One quarter turn clockwise about the centre of the 31 x 31 cell.
            turned = {(30 - y, x) for (x, y) in turned}
            self.assertEqual(black_pixels(name), turned, name)

    def test_arrow_colour_shows_on_the_marked_bitmaps(self):
        for name in ("1.bmp", "2.bmp", "3.bmp", "4.bmp", "6.bmp", "B.bmp", "D.bmp", "start.bmp"):
            with self.subTest(name=name):
                self.assertTrue(black_pixels(name))

    def test_no_stray_black_pixels(self):
        # Markings are solid shapes; a lone black pixel would be a slip in an outline or shadow,
        # and the arrow colour would then speckle the tile.
        for name in ALL_FILES:
            with self.subTest(name=name):
                black = black_pixels(name)
                lonely = {(x, y) for (x, y) in black
                          if not any((x + dx, y + dy) in black
                                     for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))}
                self.assertEqual(lonely, set())

    def test_canvas_keeps_black_for_markings_only(self):
        canvas = draw_assets.Canvas(MAGENTA)
        with self.assertRaises(ValueError):
            canvas.paint({(1, 1)}, BLACK)
        with self.assertRaises(ValueError):
            canvas.paint({(2, 2)}, lambda x, y: (0, 0, 0))
        with self.assertRaises(ValueError):
            canvas.paint({(3, 3)}, MAGENTA)
        canvas.paint({(4, 4)}, (40, 40, 40))
        canvas.mark({(5, 5)})
        rows = canvas.rows()
        self.assertEqual((rows[4][4], rows[5][5], rows[0][0]), ((40, 40, 40), BLACK, MAGENTA))

    def test_tiles_are_all_different(self):
        seen = {}
        for name in ALL_FILES:
            px = tuple(sorted(pixels(read_file(name)).items()))
            self.assertNotIn(px, seen, f"{name} repeats {seen.get(px)}")
            seen[px] = name


if __name__ == "__main__":
    unittest.main()
