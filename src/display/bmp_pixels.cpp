#include "display/bmp_pixels.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace tollwen::bmp {

namespace {

using Byte = unsigned char;

QRgb* Line(QImage& image, int y) { return reinterpret_cast<QRgb*>(image.scanLine(y)); }

// Decodes the pixels of one stored row whose first `bytes` bytes are present; the rest of
// the row stays black.
void DecodeRow(const BmpLayout& layout, const Byte* src, std::size_t bytes, QRgb* dst) {
  const auto& palette = layout.palette;
  const auto Count = [&](std::size_t available) {
    return static_cast<int>(std::min<std::size_t>(layout.width, available));
  };
  switch (layout.encoding) {
    case PixelEncoding::kIndexed:
      if (layout.bitCount == 8) {
        const int count = Count(bytes);
        for (int x = 0; x < count; ++x) dst[x] = palette[src[x]];
      } else if (layout.bitCount == 4) {
        const int count = Count(bytes * 2);
        for (int x = 0; x < count; ++x) {
          const Byte pair = src[x / 2];
          dst[x] = palette[x % 2 == 0 ? pair >> 4 : pair & 0x0F];
        }
      } else {
        const int count = Count(bytes * 8);
        for (int x = 0; x < count; ++x) dst[x] = palette[(src[x / 8] >> (7 - x % 8)) & 1];
      }
      break;
    case PixelEncoding::kRgb24: {
      const int count = Count(bytes / 3);
      for (int x = 0; x < count; ++x, src += 3) dst[x] = qRgb(src[2], src[1], src[0]);
      break;
    }
    case PixelEncoding::kBitFields: {
      const auto& [red, green, blue] = layout.masks;
      if (layout.bitCount == 16) {
        const int count = Count(bytes / 2);
        for (int x = 0; x < count; ++x, src += 2) {
          const std::uint32_t value = src[0] | std::uint32_t{src[1]} << 8;
          dst[x] = qRgb(red.Extract(value), green.Extract(value), blue.Extract(value));
        }
        break;
      }
      const int count = Count(bytes / 4);
      const bool plain =
          red.Mask() == 0xFF0000 && green.Mask() == 0x00FF00 && blue.Mask() == 0x0000FF;
      for (int x = 0; x < count; ++x, src += 4) {
        const std::uint32_t value = src[0] | std::uint32_t{src[1]} << 8 |
                                    std::uint32_t{src[2]} << 16 | std::uint32_t{src[3]} << 24;
        dst[x] = plain ? 0xFF000000u | (value & 0x00FFFFFFu)
                       : qRgb(red.Extract(value), green.Extract(value), blue.Extract(value));
      }
      break;
    }
    case PixelEncoding::kRle8:
    case PixelEncoding::kRle4:
      break;  // not row data
  }
}

// Where run-length data draws: a cursor that starts at the bottom-left pixel and moves right
// and up. x stays within 0..width so that long runs and repeated deltas cannot overflow.
class RleCanvas {
 public:
  RleCanvas(const BmpLayout& layout, QImage& image)
      : image_(image), palette_(layout.palette), width_(layout.width), height_(layout.height) {}

  bool Done() const { return row_ >= height_; }

  // Sets the next `count` pixels to the indices `indexAt(i)`; pixels past the edge are dropped.
  template <typename IndexAt>
  void Put(int count, IndexAt indexAt) {
    const int visible = std::min(count, width_ - x_);
    if (visible > 0 && !Done()) {
      QRgb* line = Line(image_, height_ - 1 - row_) + x_;
      for (int i = 0; i < visible; ++i) line[i] = palette_[indexAt(i)];
    }
    Advance(count);
  }

  void Advance(int count) { x_ = std::min(width_, x_ + count); }
  void NextLine() {
    x_ = 0;
    ++row_;
  }
  void MoveUp(int rows) { row_ = std::min(height_, row_ + rows); }

 private:
  QImage& image_;
  const std::array<QRgb, 256>& palette_;
  const int width_;
  const int height_;
  int x_ = 0;
  int row_ = 0;  // counted from the bottom
};

}  // namespace

void DecodeUncompressed(const BmpLayout& layout, std::span<const std::byte> pixels, QImage& image) {
  const Byte* data = reinterpret_cast<const Byte*>(pixels.data());
  const std::uint64_t available = pixels.size();
  for (int stored = 0; stored < layout.height; ++stored) {
    const std::uint64_t rowStart = stored * layout.rowStride;
    if (rowStart >= available) break;  // the rest of the data is missing
    const auto bytes = static_cast<std::size_t>(std::min(layout.rowStride, available - rowStart));
    const int y = layout.topDown ? stored : layout.height - 1 - stored;
    DecodeRow(layout, data + rowStart, bytes, Line(image, y));
  }
}

void DecodeRle(const BmpLayout& layout, std::span<const std::byte> pixels, QImage& image) {
  const Byte* data = reinterpret_cast<const Byte*>(pixels.data());
  const std::size_t size = pixels.size();
  const bool fourBit = layout.encoding == PixelEncoding::kRle4;
  RleCanvas canvas(layout, image);
  std::size_t pos = 0;
  while (!canvas.Done() && size - pos >= 2) {
    const int count = data[pos];
    const Byte value = data[pos + 1];
    pos += 2;
    if (count > 0) {
      // Encoded run: one index repeated, or for RLE4 two indices alternating.
      const int high = value >> 4;
      const int low = value & 0x0F;
      if (fourBit)
        canvas.Put(count, [&](int i) { return i % 2 == 0 ? high : low; });
      else
        canvas.Put(count, [&](int) { return value; });
      continue;
    }
    switch (value) {
      case 0:  // end of line
        canvas.NextLine();
        break;
      case 1:  // end of bitmap
        return;
      case 2:  // delta: right and up
        if (size - pos < 2) return;
        canvas.Advance(data[pos]);
        canvas.MoveUp(data[pos + 1]);
        pos += 2;
        break;
      default: {
        // Absolute run of `value` indices, padded to an even number of bytes.
        const int length = value;
        const std::size_t bytes = fourBit ? (length + 1) / 2 : length;
        const std::size_t present = std::min(bytes, size - pos);
        const int decodable =
            static_cast<int>(fourBit ? std::min<std::size_t>(length, present * 2) : present);
        const Byte* run = data + pos;
        if (fourBit)
          canvas.Put(decodable,
                     [&](int i) { return i % 2 == 0 ? run[i / 2] >> 4 : run[i / 2] & 0x0F; });
        else
          canvas.Put(decodable, [&](int i) { return run[i]; });
        if (present < bytes) return;  // the data ends inside the run
        pos += std::min(bytes + bytes % 2, size - pos);
        break;
      }
    }
  }
}

}  // namespace tollwen::bmp
