// Reads an X window dump (as written by `xwd -root`) of a 24- or 32-bit TrueColor screen.
//   xwd_probe DUMP X Y [X Y ...]  prints each pixel as RRGGBB, one line each
//   xwd_probe DUMP --png OUT      writes the dump as a PNG picture
// Exits 1 on a dump it cannot read or a pixel outside it, 2 on wrong arguments.
#include <QImage>
#include <QString>
#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

// The fixed part of the dump header: 25 big-endian 32-bit fields.
enum Field {
  kHeaderSize = 0,
  kPixmapFormat = 2,
  kPixmapDepth = 3,
  kWidth = 4,
  kHeight = 5,
  kByteOrder = 7,
  kBitsPerPixel = 11,
  kBytesPerLine = 12,
  kRedMask = 14,
  kGreenMask = 15,
  kBlueMask = 16,
  kColourCount = 19,
  kFieldCount = 25,
};

uint32_t BigEndian(const std::vector<unsigned char>& data, size_t at) {
  return uint32_t{data[at]} << 24 | uint32_t{data[at + 1]} << 16 | uint32_t{data[at + 2]} << 8 |
         uint32_t{data[at + 3]};
}

int Shift(uint32_t mask) {
  int shift = 0;
  while (mask != 0 && (mask & 1u) == 0) {
    mask >>= 1;
    ++shift;
  }
  return shift;
}

bool Decode(const std::vector<unsigned char>& data, QImage& out) {
  if (data.size() < kFieldCount * 4) return false;
  std::array<uint32_t, kFieldCount> h{};
  for (size_t i = 0; i < h.size(); ++i) h[i] = BigEndian(data, i * 4);
  const uint32_t bpp = h[kBitsPerPixel];
  if (h[kPixmapFormat] != 2 || (bpp != 24 && bpp != 32) || h[kPixmapDepth] < 24) return false;
  const size_t start = size_t{h[kHeaderSize]} + size_t{h[kColourCount]} * 12;
  const size_t width = h[kWidth];
  const size_t height = h[kHeight];
  const size_t stride = h[kBytesPerLine];
  if (width == 0 || height == 0 || width > 20000 || height > 20000 || stride < width * (bpp / 8) ||
      start + stride * height > data.size()) {
    return false;
  }
  const bool msbFirst = h[kByteOrder] != 0;
  const int bytes = static_cast<int>(bpp / 8);
  out = QImage(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB32);
  for (size_t y = 0; y < height; ++y) {
    for (size_t x = 0; x < width; ++x) {
      const unsigned char* p = &data[start + y * stride + x * bytes];
      uint32_t value = 0;
      for (int b = 0; b < bytes; ++b) {
        const int index = msbFirst ? b : bytes - 1 - b;
        value = value << 8 | p[index];
      }
      const auto channel = [&](uint32_t mask) { return int((value & mask) >> Shift(mask)); };
      out.setPixel(static_cast<int>(x), static_cast<int>(y),
                   qRgb(channel(h[kRedMask]), channel(h[kGreenMask]), channel(h[kBlueMask])));
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4 || argc % 2 != 0) {
    std::fprintf(stderr, "usage: xwd_probe DUMP X Y [X Y ...] | xwd_probe DUMP --png OUT\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  const std::vector<unsigned char> data((std::istreambuf_iterator<char>(in)),
                                        std::istreambuf_iterator<char>());
  QImage image;
  if (!Decode(data, image)) {
    std::fprintf(stderr, "xwd_probe: cannot read %s\n", argv[1]);
    return 1;
  }
  if (QString::fromLocal8Bit(argv[2]) == QLatin1String("--png")) {
    return image.save(QString::fromLocal8Bit(argv[3]), "PNG") ? 0 : 1;
  }
  for (int i = 2; i + 1 < argc; i += 2) {
    bool okX = false;
    bool okY = false;
    const int x = QString::fromLocal8Bit(argv[i]).toInt(&okX);
    const int y = QString::fromLocal8Bit(argv[i + 1]).toInt(&okY);
    if (!okX || !okY) return 2;
    if (!image.valid(x, y)) return 1;
    std::printf("%06X\n", image.pixel(x, y) & 0xFFFFFFu);
  }
  return 0;
}
