#include "support/hostile_jpegs.h"

#include "support/jpeg_writer.h"

namespace tollwen::test {

namespace {

using Bytes = std::vector<unsigned char>;

Bytes WithSize(Bytes bytes, int width, int height) {
  SetJpegDimensions(bytes, width, height);
  return bytes;
}

Bytes TinyGray(bool arithmetic) {
  return MakeJpeg({.width = 8,
                   .height = 8,
                   .colourSpace = JpegColourSpace::kGrayscale,
                   .arithmetic = arithmetic,
                   .quality = 10});
}

Bytes Wide() { return MakeJpeg({.width = 17000, .height = 8, .pattern = FillPattern::kChecker}); }

Bytes ProgressiveLevel(bool arithmetic) {
  return MakeJpeg({.progressive = true,
                   .arithmetic = arithmetic,
                   .quality = 50,
                   .pattern = FillPattern::kNoise});
}

}  // namespace

std::vector<NamedJpeg> HostileJpegs(int scanLimit) {
  return {
      {"wide", Wide},
      {"header_16384x4096", [] { return WithSize(TinyGray(false), 16384, 4096); }},
      {"header_65500x65500", [] { return WithSize(TinyGray(false), 65500, 65500); }},
      {"arithmetic_header_65500x65500", [] { return WithSize(TinyGray(true), 65500, 65500); }},
      {"progressive_16384x4096",
       [] {
         return WithSize(MakeJpeg({.width = 16, .height = 16, .progressive = true}), 16384, 4096);
       }},
      {"progressive_1920x1080_full_colour",
       [] {
         return MakeJpeg(
             {.width = 1920, .height = 1080, .progressive = true, .fullResolutionColour = true});
       }},
      {"arithmetic_16384x8192",
       [] {
         return MakeStackedJpeg({.width = 16384,
                                 .height = 8192,
                                 .colourSpace = JpegColourSpace::kGrayscale,
                                 .arithmetic = true,
                                 .quality = 75,
                                 .pattern = FillPattern::kNoise});
       }},
      {"wide_second_scan", [] { return RepeatScans(Wide(), 2); }},
      {"scans_" + std::to_string(scanLimit),
       [scanLimit] { return RepeatScans(ProgressiveLevel(false), scanLimit); }},
      {"scans_400", [] { return RepeatScans(ProgressiveLevel(false), 400); }},
      {"arithmetic_scans_400", [] { return RepeatScans(ProgressiveLevel(true), 400); }},
  };
}

}  // namespace tollwen::test
