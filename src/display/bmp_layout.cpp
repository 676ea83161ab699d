#include "display/bmp_layout.h"

#include <algorithm>
#include <bit>
#include <cstdlib>

#include "level/errors.h"

namespace tollwen::bmp {

namespace {

// Compression values of the bitmap header.
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitFields = 3;
constexpr std::uint32_t kBiAlphaBitFields = 6;

// Bitmap header sizes.
constexpr std::uint32_t kCoreHeaderSize = 12;  // 16-bit sizes, RGB triples in the palette
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kV2HeaderSize = 52;   // + red, green and blue masks
constexpr std::uint32_t kV3HeaderSize = 56;   // + alpha mask
constexpr std::uint32_t kOs2HeaderSize = 64;  // info header layout plus OS/2 fields
constexpr std::uint32_t kV4HeaderSize = 108;  // + colour space
constexpr std::uint32_t kV5HeaderSize = 124;  // + rendering intent and profile

// Offsets within the file (the bitmap header starts after the 14-byte file header).
constexpr std::size_t kOffBitsAt = 10;
constexpr std::size_t kHeaderAt = kFileHeaderSize;
constexpr std::size_t kHeaderMasksAt = kHeaderAt + kInfoHeaderSize;

[[noreturn]] void ThrowStreamReadError() {
  throw EditorError(Message(QT_TRANSLATE_NOOP("tollwen::Message", "Stream read error")));
}
[[noreturn]] void ThrowNotValid() {
  throw EditorError(Message(QT_TRANSLATE_NOOP("tollwen::Message", "Bitmap image is not valid")));
}

// Little-endian reads; callers check the bounds first.
std::uint8_t U8(std::span<const std::byte> data, std::size_t at) {
  return std::to_integer<std::uint8_t>(data[at]);
}
std::uint16_t U16(std::span<const std::byte> data, std::size_t at) {
  return static_cast<std::uint16_t>(U8(data, at) | std::uint32_t{U8(data, at + 1)} << 8);
}
std::uint32_t U32(std::span<const std::byte> data, std::size_t at) {
  return std::uint32_t{U8(data, at)} | std::uint32_t{U8(data, at + 1)} << 8 |
         std::uint32_t{U8(data, at + 2)} << 16 | std::uint32_t{U8(data, at + 3)} << 24;
}
std::int32_t I32(std::span<const std::byte> data, std::size_t at) {
  return static_cast<std::int32_t>(U32(data, at));
}

bool KnownHeaderSize(std::uint32_t size) {
  switch (size) {
    case kCoreHeaderSize:
    case kInfoHeaderSize:
    case kV2HeaderSize:
    case kV3HeaderSize:
    case kOs2HeaderSize:
    case kV4HeaderSize:
    case kV5HeaderSize:
      return true;
    default:
      return false;
  }
}

void RequireBytes(std::span<const std::byte> data, std::uint64_t end) {
  if (data.size() < end) ThrowStreamReadError();
}

// A bit-field mask must be one run of bits inside the pixel.
ChannelMask CheckedMask(std::uint32_t mask, int bitCount) {
  const std::uint64_t pixelBits = (std::uint64_t{1} << bitCount) - 1;
  if (!ChannelMask::IsContiguous(mask) || mask > pixelBits) ThrowNotValid();
  return ChannelMask(mask);
}

}  // namespace

ChannelMask::ChannelMask(std::uint32_t mask) : mask_(mask) {
  if (mask == 0) return;  // the channel is always 0
  shift_ = std::countr_zero(mask);
  width_ = std::popcount(mask);
  if (width_ <= 8) {
    const std::uint32_t max = (1u << width_) - 1;
    for (std::uint32_t value = 0; value <= max; ++value)
      scale_[value] = static_cast<std::uint8_t>((value * 255 + max / 2) / max);
  }
}

bool ChannelMask::IsContiguous(std::uint32_t mask) {
  if (mask == 0) return true;
  const std::uint32_t run = mask >> std::countr_zero(mask);
  return (run & (run + 1)) == 0;
}

BmpLayout ParseBmpLayout(std::span<const std::byte> data, std::uint64_t fileSize) {
  RequireBytes(data, kFileHeaderSize);
  if (U8(data, 0) != 'B' || U8(data, 1) != 'M') ThrowNotValid();
  const std::uint32_t offBits = U32(data, kOffBitsAt);

  RequireBytes(data, kHeaderAt + 4);
  const std::uint32_t headerSize = U32(data, kHeaderAt);
  if (!KnownHeaderSize(headerSize)) ThrowNotValid();
  const std::size_t headerEnd = kHeaderAt + headerSize;
  RequireBytes(data, headerEnd);

  std::int64_t width = 0;
  std::int64_t height = 0;
  std::uint16_t planes = 0;
  int bitCount = 0;
  std::uint32_t compression = kBiRgb;
  std::uint32_t coloursUsed = 0;
  std::size_t paletteEntrySize = 4;
  if (headerSize == kCoreHeaderSize) {
    width = U16(data, kHeaderAt + 4);
    height = U16(data, kHeaderAt + 6);
    planes = U16(data, kHeaderAt + 8);
    bitCount = U16(data, kHeaderAt + 10);
    paletteEntrySize = 3;
  } else {
    width = I32(data, kHeaderAt + 4);
    height = I32(data, kHeaderAt + 8);
    planes = U16(data, kHeaderAt + 12);
    bitCount = U16(data, kHeaderAt + 14);
    compression = U32(data, kHeaderAt + 16);
    coloursUsed = U32(data, kHeaderAt + 32);
  }
  if (planes != 1) ThrowNotValid();

  BmpLayout layout;
  layout.topDown = height < 0;
  height = std::abs(height);  // 64-bit, so the most negative 32-bit height is safe
  if (width <= 0 || height == 0) ThrowNotValid();
  // Both are at most 2^31, so the product cannot overflow. Refused only once the rest of the
  // headers is known to be valid; within the limit each side fits an int.
  const bool tooLarge =
      static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) > kMaxPixels;
  layout.width = static_cast<int>(width);
  layout.height = static_cast<int>(height);
  layout.bitCount = bitCount;

  // In the OS/2 header, compressions 3 and 4 are Huffman and RLE24, neither supported.
  if (headerSize == kOs2HeaderSize && compression > kBiRle4) ThrowNotValid();

  bool explicitMasks = false;
  switch (compression) {
    case kBiRgb:
      switch (bitCount) {
        case 1:
        case 4:
        case 8:
          layout.encoding = PixelEncoding::kIndexed;
          break;
        case 24:
          layout.encoding = PixelEncoding::kRgb24;
          break;
        case 16:  // 5-5-5
          layout.encoding = PixelEncoding::kBitFields;
          layout.masks = {ChannelMask(0x7C00), ChannelMask(0x03E0), ChannelMask(0x001F)};
          break;
        case 32:  // 8-8-8, the top byte unused
          layout.encoding = PixelEncoding::kBitFields;
          layout.masks = {ChannelMask(0xFF0000), ChannelMask(0x00FF00), ChannelMask(0x0000FF)};
          break;
        default:
          ThrowNotValid();
      }
      break;
    case kBiRle8:
      if (bitCount != 8) ThrowNotValid();
      layout.encoding = PixelEncoding::kRle8;
      break;
    case kBiRle4:
      if (bitCount != 4) ThrowNotValid();
      layout.encoding = PixelEncoding::kRle4;
      break;
    case kBiBitFields:
    case kBiAlphaBitFields:
      if (bitCount != 16 && bitCount != 32) ThrowNotValid();
      layout.encoding = PixelEncoding::kBitFields;
      explicitMasks = true;
      break;
    default:  // JPEG, PNG and anything unknown
      ThrowNotValid();
  }
  const bool rle =
      layout.encoding == PixelEncoding::kRle8 || layout.encoding == PixelEncoding::kRle4;
  // Run-length data always starts at the bottom row.
  if (rle && layout.topDown) ThrowNotValid();

  std::size_t cursor = headerEnd;
  if (explicitMasks) {
    std::size_t masksAt = kHeaderMasksAt;
    if (headerSize < kV2HeaderSize) {
      // The masks follow the 40-byte header: red, green, blue, and alpha for the alpha variant.
      const std::size_t maskCount = compression == kBiAlphaBitFields ? 4 : 3;
      RequireBytes(data, cursor + 4 * maskCount);
      masksAt = cursor;
      cursor += 4 * maskCount;
    }
    // Any alpha mask is ignored: the result is opaque.
    for (std::size_t channel = 0; channel < 3; ++channel)
      layout.masks[channel] = CheckedMask(U32(data, masksAt + 4 * channel), bitCount);
  }
  const std::size_t masksEnd = cursor;

  std::ranges::fill(layout.palette, qRgb(0, 0, 0));
  if (layout.encoding == PixelEncoding::kIndexed || rle) {
    std::size_t entries = std::size_t{1} << bitCount;
    if (coloursUsed != 0 && coloursUsed < entries) entries = coloursUsed;
    RequireBytes(data, cursor + entries * paletteEntrySize);
    for (std::size_t i = 0; i < entries; ++i) {
      const std::size_t at = cursor + i * paletteEntrySize;
      layout.palette[i] = qRgb(U8(data, at + 2), U8(data, at + 1), U8(data, at));
    }
    cursor += entries * paletteEntrySize;
  }

  // Trust the stored pixel offset when it lies between the headers and the end of the file;
  // otherwise the pixels are taken to follow the palette directly.
  if (tooLarge) throw OutOfMemoryError();
  layout.pixelOffset = offBits >= masksEnd && offBits <= fileSize ? offBits : cursor;
  if (!rle) layout.rowStride = (std::uint64_t(layout.width) * bitCount + 31) / 32 * 4;
  return layout;
}

std::uint64_t UsefulFileBytes(const BmpLayout& layout, std::uint64_t fileSize) {
  std::uint64_t end = std::min(fileSize, kMaxFileSize);
  if (layout.rowStride != 0)
    end = std::min(end, layout.pixelOffset + layout.rowStride * std::uint64_t(layout.height));
  return end;
}

}  // namespace tollwen::bmp
