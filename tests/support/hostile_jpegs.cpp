#include "support/hostile_jpegs.h"

#include "support/jpeg_writer.h"

namespace tollwen::test {

namespace {

std::vector<unsigned char> WithSize(std::vector<unsigned char> bytes, int width, int height) {
  SetJpegDimensions(bytes, width, height);
  return bytes;
}

}  // namespace

std::vector<NamedJpeg> HostileJpegs(int scanLimit) {
  const std::vector<unsigned char> tinyGray = MakeJpeg(
      {.width = 8, .height = 8, .colourSpace = JpegColourSpace::kGrayscale, .quality = 10});
  const std::vector<unsigned char> tinyProgressive =
      MakeJpeg({.width = 16, .height = 16, .progressive = true});
  const std::vector<unsigned char> wide =
      MakeJpeg({.width = 17000, .height = 8, .pattern = FillPattern::kChecker});
  JpegOptions level{.progressive = true, .quality = 50, .pattern = FillPattern::kNoise};
  const std::vector<unsigned char> progressive = MakeJpeg(level);
  level.arithmetic = true;
  return {
      {"wide", wide},
      {"header_16384x4096", WithSize(tinyGray, 16384, 4096)},
      {"header_65500x65500", WithSize(tinyGray, 65500, 65500)},
      {"arithmetic_header_65500x65500",
       WithSize(MakeJpeg({.width = 8,
                          .height = 8,
                          .colourSpace = JpegColourSpace::kGrayscale,
                          .arithmetic = true}),
                65500, 65500)},
      {"progressive_16384x4096", WithSize(tinyProgressive, 16384, 4096)},
      {"wide_second_scan", RepeatScans(wide, 2)},
      {"scans_" + std::to_string(scanLimit), RepeatScans(progressive, scanLimit)},
      {"scans_400", RepeatScans(progressive, 400)},
      {"arithmetic_scans_400", RepeatScans(MakeJpeg(level), 400)},
  };
}

}  // namespace tollwen::test
