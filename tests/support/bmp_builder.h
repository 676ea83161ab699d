#pragma once

// Writes Windows BMP files byte by byte for tests, so that each test shows the variant it
// feeds the reader: header kind, bit count, compression, colour masks, palette, row order and
// raw (for instance run-length) pixel data.
//
//   auto bytes = BmpBuilder(2, 1, 8).Palette({qRgb(255, 0, 0), qRgb(0, 0, 255)})
//                    .IndexRow({0, 1}).Build();

#include <QImage>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tollwen {

// Bitmap header kinds, by the size they declare.
enum class BmpHeaderKind : std::uint32_t {
  kCore = 12,  // 16-bit sizes, no compression field, RGB triples in the palette
  kInfo = 40,
  kV2 = 52,  // masks for red, green, blue inside the header
  kV3 = 56,  // + alpha mask
  kV4 = 108,
  kV5 = 124,
};

// Compression values of the bitmap header.
namespace bmp_compression {
inline constexpr std::uint32_t kRgb = 0;
inline constexpr std::uint32_t kRle8 = 1;
inline constexpr std::uint32_t kRle4 = 2;
inline constexpr std::uint32_t kBitFields = 3;
inline constexpr std::uint32_t kJpeg = 4;
inline constexpr std::uint32_t kPng = 5;
inline constexpr std::uint32_t kAlphaBitFields = 6;
}  // namespace bmp_compression

class BmpBuilder {
 public:
  // `width` and `height` go into the header as given (a negative height or an absurd size
  // included); rows are always added top row first.
  BmpBuilder(std::int32_t width, std::int32_t height, int bitCount);

  BmpBuilder& Header(BmpHeaderKind kind);
  BmpBuilder& Compression(std::uint32_t compression);
  BmpBuilder& Planes(std::uint16_t planes);
  BmpBuilder& Signature(char first, char second);
  // Stores the rows top row first and writes the height negated.
  BmpBuilder& TopDown();
  // Colour masks, red, green, blue (and alpha): written after a 40-byte header, or into the
  // mask fields of a V2 and later header.
  BmpBuilder& Masks(std::vector<std::uint32_t> masks);
  // Palette entries; the header's colours-used field is their count when that is fewer than
  // the bit count allows, 0 otherwise, unless ColoursUsed says.
  BmpBuilder& Palette(std::vector<QRgb> colours);
  BmpBuilder& ColoursUsed(std::uint32_t count);
  // Overrides the pixel offset of the file header (normally straight after the palette).
  BmpBuilder& PixelOffset(std::uint32_t offset);

  // One row of pixels, padded to a multiple of 4 bytes.
  BmpBuilder& Row(std::vector<std::uint8_t> bytes);             // raw bytes
  BmpBuilder& IndexRow(const std::vector<int>& indices);        // packed at the bit count
  BmpBuilder& Rgb24Row(const std::vector<QRgb>& colours);       // blue, green, red
  BmpBuilder& Row16(const std::vector<std::uint16_t>& pixels);  // little-endian words
  BmpBuilder& Row32(const std::vector<std::uint32_t>& pixels);  // little-endian dwords
  // Pixel data exactly as stored (run-length data, say); replaces any rows.
  BmpBuilder& RawPixelData(std::vector<std::uint8_t> bytes);

  std::vector<std::byte> Build() const;

 private:
  std::int32_t width_;
  std::int32_t height_;
  int bitCount_;
  BmpHeaderKind kind_ = BmpHeaderKind::kInfo;
  std::uint32_t compression_ = bmp_compression::kRgb;
  std::uint16_t planes_ = 1;
  char signature_[2] = {'B', 'M'};
  bool topDown_ = false;
  std::vector<std::uint32_t> masks_;
  std::vector<QRgb> palette_;
  bool coloursUsedSet_ = false;
  std::uint32_t coloursUsed_ = 0;
  bool pixelOffsetSet_ = false;
  std::uint32_t pixelOffset_ = 0;
  std::vector<std::vector<std::uint8_t>> rows_;  // top row first
  bool rawSet_ = false;
  std::vector<std::uint8_t> raw_;
};

// Overwrites a little-endian field of built bytes, for hand-corrupted files.
void PokeU16(std::vector<std::byte>& bytes, std::size_t at, std::uint16_t value);
void PokeU32(std::vector<std::byte>& bytes, std::size_t at, std::uint32_t value);

// A plain 24-bit bottom-up BMP with the 40-byte header holding `image` (any size, for
// instance a 32 x 32 tile); alpha is dropped.
std::vector<std::byte> Bmp24FromImage(const QImage& image);

// Writes `bytes` to `path`, replacing the file; throws std::runtime_error on failure.
void WriteFileBytes(const std::string& path, std::span<const std::byte> bytes);

// Bmp24FromImage written to `path`.
void WriteBmp24(const std::string& path, const QImage& image);

}  // namespace tollwen
