#include "support/bmp_builder.h"

#include <fstream>
#include <stdexcept>
#include <utility>

namespace tollwen {

namespace {

class ByteWriter {
 public:
  void U8(std::uint8_t value) { bytes_.push_back(std::byte{value}); }
  void U16(std::uint16_t value) {
    U8(static_cast<std::uint8_t>(value));
    U8(static_cast<std::uint8_t>(value >> 8));
  }
  void U32(std::uint32_t value) {
    U16(static_cast<std::uint16_t>(value));
    U16(static_cast<std::uint16_t>(value >> 16));
  }
  void Zeros(std::size_t count) { bytes_.insert(bytes_.end(), count, std::byte{0}); }
  void Bytes(const std::vector<std::uint8_t>& bytes) {
    for (std::uint8_t b : bytes) U8(b);
  }
  std::vector<std::byte>& Data() { return bytes_; }

 private:
  std::vector<std::byte> bytes_;
};

void PadToFour(std::vector<std::uint8_t>& row) {
  while (row.size() % 4 != 0) row.push_back(0);
}

}  // namespace

BmpBuilder::BmpBuilder(std::int32_t width, std::int32_t height, int bitCount)
    : width_(width), height_(height), bitCount_(bitCount) {}

BmpBuilder& BmpBuilder::Header(BmpHeaderKind kind) {
  kind_ = kind;
  return *this;
}
BmpBuilder& BmpBuilder::Compression(std::uint32_t compression) {
  compression_ = compression;
  return *this;
}
BmpBuilder& BmpBuilder::Planes(std::uint16_t planes) {
  planes_ = planes;
  return *this;
}
BmpBuilder& BmpBuilder::Signature(char first, char second) {
  signature_[0] = first;
  signature_[1] = second;
  return *this;
}
BmpBuilder& BmpBuilder::TopDown() {
  topDown_ = true;
  return *this;
}
BmpBuilder& BmpBuilder::Masks(std::vector<std::uint32_t> masks) {
  masks_ = std::move(masks);
  return *this;
}
BmpBuilder& BmpBuilder::Palette(std::vector<QRgb> colours) {
  palette_ = std::move(colours);
  return *this;
}
BmpBuilder& BmpBuilder::ColoursUsed(std::uint32_t count) {
  coloursUsedSet_ = true;
  coloursUsed_ = count;
  return *this;
}
BmpBuilder& BmpBuilder::PixelOffset(std::uint32_t offset) {
  pixelOffsetSet_ = true;
  pixelOffset_ = offset;
  return *this;
}

BmpBuilder& BmpBuilder::Row(std::vector<std::uint8_t> bytes) {
  PadToFour(bytes);
  rows_.push_back(std::move(bytes));
  return *this;
}

BmpBuilder& BmpBuilder::IndexRow(const std::vector<int>& indices) {
  if (bitCount_ != 1 && bitCount_ != 2 && bitCount_ != 4 && bitCount_ != 8)
    throw std::logic_error("IndexRow needs 1, 2, 4 or 8 bits per pixel");
  std::vector<std::uint8_t> bytes;
  const int perByte = 8 / bitCount_;
  for (std::size_t i = 0; i < indices.size(); ++i) {
    const auto slot = static_cast<int>(i % perByte);
    if (slot == 0) bytes.push_back(0);
    const int shift = 8 - bitCount_ * (slot + 1);
    bytes.back() = static_cast<std::uint8_t>(bytes.back() | (indices[i] << shift));
  }
  return Row(std::move(bytes));
}

BmpBuilder& BmpBuilder::Rgb24Row(const std::vector<QRgb>& colours) {
  std::vector<std::uint8_t> bytes;
  for (QRgb colour : colours) {
    bytes.push_back(static_cast<std::uint8_t>(qBlue(colour)));
    bytes.push_back(static_cast<std::uint8_t>(qGreen(colour)));
    bytes.push_back(static_cast<std::uint8_t>(qRed(colour)));
  }
  return Row(std::move(bytes));
}

BmpBuilder& BmpBuilder::Row16(const std::vector<std::uint16_t>& pixels) {
  std::vector<std::uint8_t> bytes;
  for (std::uint16_t pixel : pixels) {
    bytes.push_back(static_cast<std::uint8_t>(pixel));
    bytes.push_back(static_cast<std::uint8_t>(pixel >> 8));
  }
  return Row(std::move(bytes));
}

BmpBuilder& BmpBuilder::Row32(const std::vector<std::uint32_t>& pixels) {
  std::vector<std::uint8_t> bytes;
  for (std::uint32_t pixel : pixels)
    for (int shift = 0; shift < 32; shift += 8)
      bytes.push_back(static_cast<std::uint8_t>(pixel >> shift));
  return Row(std::move(bytes));
}

BmpBuilder& BmpBuilder::RawPixelData(std::vector<std::uint8_t> bytes) {
  rawSet_ = true;
  raw_ = std::move(bytes);
  return *this;
}

std::vector<std::byte> BmpBuilder::Build() const {
  const auto headerSize = static_cast<std::uint32_t>(kind_);
  const bool core = kind_ == BmpHeaderKind::kCore;

  std::vector<std::uint8_t> pixels;
  if (rawSet_) {
    pixels = raw_;
  } else if (topDown_) {
    for (const auto& row : rows_) pixels.insert(pixels.end(), row.begin(), row.end());
  } else {
    for (auto row = rows_.rbegin(); row != rows_.rend(); ++row)
      pixels.insert(pixels.end(), row->begin(), row->end());
  }

  const std::size_t masksAfter = kind_ == BmpHeaderKind::kInfo ? masks_.size() * 4 : 0;
  const std::size_t paletteBytes = palette_.size() * (core ? 3 : 4);
  const std::size_t defaultOffset = 14 + headerSize + masksAfter + paletteBytes;
  const std::size_t fileSize = defaultOffset + pixels.size();
  std::uint32_t coloursUsed = coloursUsed_;
  if (!coloursUsedSet_ && bitCount_ <= 8 && palette_.size() < (std::size_t{1} << bitCount_))
    coloursUsed = static_cast<std::uint32_t>(palette_.size());
  const auto storedHeight =
      static_cast<std::int32_t>(topDown_ ? -std::int64_t{height_} : std::int64_t{height_});
  const auto Mask = [&](std::size_t i) { return i < masks_.size() ? masks_[i] : 0u; };

  ByteWriter out;
  out.U8(static_cast<std::uint8_t>(signature_[0]));
  out.U8(static_cast<std::uint8_t>(signature_[1]));
  out.U32(static_cast<std::uint32_t>(fileSize));
  out.U32(0);  // reserved
  out.U32(pixelOffsetSet_ ? pixelOffset_ : static_cast<std::uint32_t>(defaultOffset));

  out.U32(headerSize);
  if (core) {
    out.U16(static_cast<std::uint16_t>(width_));
    out.U16(static_cast<std::uint16_t>(storedHeight));
    out.U16(planes_);
    out.U16(static_cast<std::uint16_t>(bitCount_));
  } else {
    out.U32(static_cast<std::uint32_t>(width_));
    out.U32(static_cast<std::uint32_t>(storedHeight));
    out.U16(planes_);
    out.U16(static_cast<std::uint16_t>(bitCount_));
    out.U32(compression_);
    out.U32(static_cast<std::uint32_t>(pixels.size()));
    out.U32(2835);  // 72 dots per inch, horizontally and vertically
    out.U32(2835);
    out.U32(coloursUsed);
    out.U32(0);  // colours important
    if (headerSize >= 52)
      for (std::size_t i = 0; i < 3; ++i) out.U32(Mask(i));
    if (headerSize >= 56) out.U32(Mask(3));
    if (headerSize >= 108) {
      out.U32(0x73524742);  // colour space 'sRGB'
      out.Zeros(36 + 12);   // end points and gamma, unused for sRGB
    }
    if (headerSize >= 124) {
      out.U32(4);     // rendering intent: images
      out.Zeros(12);  // profile data, profile size, reserved
    }
  }
  for (std::size_t i = 0; i * 4 < masksAfter; ++i) out.U32(masks_[i]);
  for (QRgb colour : palette_) {
    out.U8(static_cast<std::uint8_t>(qBlue(colour)));
    out.U8(static_cast<std::uint8_t>(qGreen(colour)));
    out.U8(static_cast<std::uint8_t>(qRed(colour)));
    if (!core) out.U8(0);
  }
  out.Bytes(pixels);
  return std::move(out.Data());
}

void PokeU16(std::vector<std::byte>& bytes, std::size_t at, std::uint16_t value) {
  bytes.at(at) = std::byte(value & 0xFF);
  bytes.at(at + 1) = std::byte(value >> 8);
}

void PokeU32(std::vector<std::byte>& bytes, std::size_t at, std::uint32_t value) {
  PokeU16(bytes, at, static_cast<std::uint16_t>(value));
  PokeU16(bytes, at + 2, static_cast<std::uint16_t>(value >> 16));
}

std::vector<std::byte> Bmp24FromImage(const QImage& image) {
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  BmpBuilder builder(rgb.width(), rgb.height(), 24);
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    builder.Rgb24Row(std::vector<QRgb>(line, line + rgb.width()));
  }
  return builder.Build();
}

void WriteFileBytes(const std::string& path, std::span<const std::byte> bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  file.close();
  if (!file) throw std::runtime_error("cannot write " + path);
}

void WriteBmp24(const std::string& path, const QImage& image) {
  WriteFileBytes(path, Bmp24FromImage(image));
}

}  // namespace tollwen
