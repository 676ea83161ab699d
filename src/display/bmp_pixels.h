#pragma once

// Pixel decoders for BMP data. Both write into `image` (Format_RGB32, layout.width x
// layout.height, already filled black) and never touch a pixel outside it; pixels the data
// does not reach stay black. `pixels` is the file from the pixel offset to the end of what was
// read.

#include <QImage>
#include <cstddef>
#include <span>

#include "display/bmp_layout.h"

namespace tollwen::bmp {

// Indexed (1, 4, 8 bits), 24-bit and bit-field (16, 32 bits) rows, bottom-up or top-down.
void DecodeUncompressed(const BmpLayout& layout, std::span<const std::byte> pixels, QImage& image);

// RLE8 and RLE4: encoded runs, end of line, end of bitmap, delta and absolute runs. Runs past
// the right edge are clipped; data past the top row is ignored.
void DecodeRle(const BmpLayout& layout, std::span<const std::byte> pixels, QImage& image);

}  // namespace tollwen::bmp
