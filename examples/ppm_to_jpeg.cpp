// Turns a PPM picture into a baseline colour JPEG with the tests' JPEG writer, which uses
// libjpeg's compression interface: how the example level's picture is made.
//   ppm_to_jpeg IN.ppm OUT.jpg
#include <QImage>
#include <QString>
#include <cstdio>
#include <exception>

#include "support/jpeg_writer.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: ppm_to_jpeg IN.ppm OUT.jpg\n");
    return 2;
  }
  const QImage picture(QString::fromLocal8Bit(argv[1]), "PPM");
  if (picture.isNull()) {
    std::fprintf(stderr, "ppm_to_jpeg: cannot read %s\n", argv[1]);
    return 1;
  }
  try {
    tollwen::test::JpegOptions options;
    options.quality = 92;
    tollwen::test::WriteBytes(argv[2], tollwen::test::EncodeJpeg(picture, options));
  } catch (const std::exception& error) {
    std::fprintf(stderr, "ppm_to_jpeg: %s\n", error.what());
    return 1;
  }
  return 0;
}
