#pragma once

// What a BMP file's headers say about its pixels: the parsed file header, bitmap header,
// colour masks and palette. Shared by the file reader and the pixel decoders.

#include <QRgb>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace tollwen::bmp {

// Most pixels an image may have: 64 MiB as 32-bit pixels. A larger one is refused as the
// allocation failure it would be ("Out of memory") before anything is allocated; there is no
// limit on either side alone.
inline constexpr std::uint64_t kMaxPixels = std::uint64_t{16} << 20;

inline constexpr std::size_t kFileHeaderSize = 14;

// Enough leading bytes of any file to hold its file header, the largest bitmap header, colour
// masks after it and a full 256-entry palette.
inline constexpr std::size_t kMaxHeadersSize = kFileHeaderSize + 124 + 16 + 256 * 4;

// The most of a file that is ever read: headers plus the pixels of the largest image at 32 bits
// per pixel (no stored row takes more than 4 bytes a pixel).
inline constexpr std::uint64_t kMaxFileSize = kMaxHeadersSize + kMaxPixels * 4;

enum class PixelEncoding {
  kIndexed,    // 1, 4 or 8 bits per pixel through the palette
  kRgb24,      // blue, green, red bytes
  kBitFields,  // 16 or 32 bits per pixel split by colour masks
  kRle8,
  kRle4,
};

// One colour channel of a bit-field pixel: which bits hold it and how to scale them to 8 bits.
class ChannelMask {
 public:
  ChannelMask() = default;
  // `mask` must be zero or one contiguous run of bits.
  explicit ChannelMask(std::uint32_t mask);

  std::uint8_t Extract(std::uint32_t pixel) const {
    const std::uint32_t value = (pixel & mask_) >> shift_;
    return width_ > 8 ? static_cast<std::uint8_t>(value >> (width_ - 8)) : scale_[value];
  }

  std::uint32_t Mask() const { return mask_; }

  // True when `mask` is zero or a single run of set bits.
  static bool IsContiguous(std::uint32_t mask);

 private:
  std::uint32_t mask_ = 0;
  int shift_ = 0;
  int width_ = 0;
  // For channels of at most 8 bits: each value scaled to 0..255, rounded.
  std::array<std::uint8_t, 256> scale_{};
};

struct BmpLayout {
  int width = 0;
  int height = 0;        // always positive; see topDown
  bool topDown = false;  // rows stored from the top (negative height in the header)
  int bitCount = 0;
  PixelEncoding encoding = PixelEncoding::kIndexed;
  std::array<ChannelMask, 3> masks;  // red, green, blue, for kBitFields
  // Palette for indexed and RLE bitmaps; entries the file does not supply are black, so any
  // 8-bit index can be looked up directly.
  std::array<QRgb, 256> palette{};
  std::uint64_t pixelOffset = 0;  // where the pixel data starts in the file
  std::uint64_t rowStride = 0;    // bytes per stored row, uncompressed encodings only
};

// Parses the headers of a BMP file of `fileSize` bytes whose leading bytes are `data`
// (at least min(fileSize, kMaxHeadersSize) of them). Throws EditorError:
//   "Stream read error"         the file ends inside the file header, the bitmap header, the
//                               colour masks or the palette
//   "Bitmap image is not valid" no "BM" signature, plane count not 1, an unknown header, an
//                               unsupported bit count / compression pair, an empty or negative
//                               width, an empty height, or a colour mask that is not one run of
//                               bits within the pixel
//   "Out of memory"             more than kMaxPixels pixels
// `data` must not be empty.
BmpLayout ParseBmpLayout(std::span<const std::byte> data, std::uint64_t fileSize);

// How many leading bytes of the file the decoder can use: the end of a complete pixel array,
// limited by the file size and kMaxFileSize.
std::uint64_t UsefulFileBytes(const BmpLayout& layout, std::uint64_t fileSize);

}  // namespace tollwen::bmp
