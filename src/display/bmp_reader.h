#pragma once

#include <QImage>
#include <cstddef>
#include <span>
#include <string>

namespace tollwen {

// Windows BMP decoding for the asset bitmaps. Handles 1, 4, 8, 16, 24 and 32 bits per pixel,
// RLE4 and RLE8, bit-field masks (alpha bit fields too; alpha is ignored), bottom-up and
// top-down rows, and the core (12-byte), info (40-byte), V2, V3, V4 and V5 headers. Pixels the
// data never sets (run-length gaps) and palette indices past the palette are black. The
// result is QImage::Format_RGB32 (opaque), or a null image for an empty (0-byte) file. Pixel
// data that is cut short leaves the missing pixels black.
//
// Failures (all EditorError):
//   "Cannot open file <path>"   the file cannot be opened or read, or is not a regular file
//   "Stream read error"         shorter than the 14-byte file header, or cut off inside the
//                               bitmap header, its colour masks or its palette
//   "Bitmap image is not valid" no "BM" signature, a plane count other than 1, or a header
//                               that cannot describe a usable bitmap (an empty size included)
//   "Out of memory"             the image cannot be allocated, or would take more than 64 MiB
//                               (16 Mi pixels), whatever its shape
QImage ReadBmpFile(const std::string& path);

// The same rules for a file already in memory.
QImage DecodeBmp(std::span<const std::byte> data);

}  // namespace tollwen
