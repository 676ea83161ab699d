#!/usr/bin/env python3
"""Checks the committed application icon: that it is what draw_icon.py draws, and that each
PNG is a square RGBA picture of the size its name says, as the icon theme's folders need."""

import contextlib
import io
import os
import struct
import tempfile
import unittest
import xml.etree.ElementTree as ElementTree
import zlib

import draw_icon

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "icon")


def read_file(name):
    with open(os.path.join(HERE, name), "rb") as f:
        return f.read()


def alpha_at(data, x, y):
    """The alpha of one pixel of an RGBA PNG written without row filters (as ours are)."""
    width = struct.unpack_from(">I", data, 16)[0]
    _, raw = draw_icon.png_pixels(data)
    row = raw[y * (width * 4 + 1):(y + 1) * (width * 4 + 1)]
    assert row[0] == 0, "rows are stored unfiltered"
    return row[1 + 4 * x + 3]


class IconTest(unittest.TestCase):

    def test_files_match_the_drawing_script(self):
        with contextlib.redirect_stderr(io.StringIO()) as errors:
            self.assertEqual(draw_icon.main(["--check"]), 0, errors.getvalue())

    def test_check_mode_reports_missing_and_changed_files(self):
        with tempfile.TemporaryDirectory() as out, contextlib.redirect_stderr(io.StringIO()):
            self.assertEqual(draw_icon.main(["--check", "--out", out]), 1)
            self.assertEqual(draw_icon.main(["--out", out]), 0)
            self.assertEqual(draw_icon.main(["--check", "--out", out]), 0)
            with open(os.path.join(out, "icon-48.png"), "r+b") as f:
                f.seek(60)
                f.write(b"\xff\xff")
            self.assertEqual(draw_icon.main(["--check", "--out", out]), 1)

    def test_each_png_is_a_square_rgba_picture_of_its_size(self):
        for size in draw_icon.SIZES:
            with self.subTest(size=size):
                data = read_file("icon-%d.png" % size)
                self.assertEqual(data[:8], b"\x89PNG\r\n\x1a\n")
                self.assertEqual(struct.unpack_from(">4sIIBB", data, 12),
                                 (b"IHDR", size, size, 8, 6))
                # The rounded corner lets the desktop show through; the middle is covered.
                self.assertLess(alpha_at(data, 0, 0), 128)
                self.assertEqual(alpha_at(data, size // 2, size // 2), 255)

    def test_svg_is_a_square_drawing(self):
        root = ElementTree.fromstring(read_file("icon.svg"))
        self.assertEqual(root.tag, "{http://www.w3.org/2000/svg}svg")
        self.assertEqual(root.get("viewBox"), "0 0 32 32")
        self.assertGreater(len(root), 50)


if __name__ == "__main__":
    unittest.main()
