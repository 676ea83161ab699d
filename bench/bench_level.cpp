#include "bench_level.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>

#include "support/jpeg_writer.h"

namespace tollwen::bench {

QImage PhotoLikePicture() {
  QImage image(640, 447, QImage::Format_RGB32);
  std::uint32_t seed = 12345;
  for (int y = 0; y < image.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      seed = seed * 1664525u + 1013904223u;
      const int grain = static_cast<int>(seed >> 28) - 8;  // fine texture, -8 ... 7
      const double hills = 40.0 * std::sin(x / 37.0) * std::cos(y / 23.0);
      const int r = std::clamp(static_cast<int>(90 + x / 8 + hills) + grain, 0, 255);
      const int g = std::clamp(static_cast<int>(140 + hills - y / 6) + grain, 0, 255);
      const int b = std::clamp(static_cast<int>(60 + y / 3 - hills / 2) + grain, 0, 255);
      row[x] = qRgb(r, g, b);
    }
  }
  return image;
}

BenchLevel::BenchLevel() {
  picturePath_ = dir_.filePath("level1.jpg").toStdString();
  dataPath_ = dir_.filePath("level1.dat").toStdString();
  test::JpegOptions options;
  options.quality = 85;
  test::WriteBytes(picturePath_, test::EncodeJpeg(PhotoLikePicture(), options));

  // Every cell holds a tile, cycling through all fifteen.
  std::string text = "theme.xm\r\n";
  const char* codes = "123456789ABCDEF";
  for (int row = 0; row < 13; ++row) {
    for (int column = 0; column < 19; ++column) text += codes[(row * 19 + column) % 15];
    text += "\r\n";
  }
  test::WriteBytes(dataPath_, std::vector<unsigned char>(text.begin(), text.end()));
}

LevelPack::LevelPack(int levels) {
  test::JpegOptions options;
  options.quality = 85;
  const std::vector<unsigned char> jpeg = test::EncodeJpeg(PhotoLikePicture(), options);
  for (int i = 0; i < levels; ++i) {
    const std::string folder = dir_.filePath(QString("world%1").arg(i / 100)).toStdString();
    if (i % 100 == 0) std::filesystem::create_directory(folder);
    char name[32];
    std::snprintf(name, sizeof(name), "/level%04d", i);
    const std::string stem = folder + name;
    test::WriteBytes(stem + ".jpg", jpeg);
    std::string data = "theme.xm\r\n";
    for (int row = 1; row <= 13; ++row) {
      data += (i % 10 == 0 && row == 5) ? "123" : "123456789ABCDEF1234";
      data += "\r\n";
    }
    test::WriteBytes(stem + ".dat", std::vector<unsigned char>(data.begin(), data.end()));
    pictures_.push_back(stem + ".jpg");
  }
}

std::string BenchLevel::ResourceDir() {
  return QCoreApplication::applicationDirPath().toStdString() + "/";
}

}  // namespace tollwen::bench
