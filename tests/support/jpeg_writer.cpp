#include "support/jpeg_writer.h"

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>  // jpeglib.h needs FILE and size_t declared before it
#include <cstdlib>
#include <fstream>
#include <optional>
#include <stdexcept>

extern "C" {
#include <jpeglib.h>
}

namespace tollwen::test {
namespace {

constexpr int kCheckerSide = 32;

struct ErrorManager {
  jpeg_error_mgr pub;  // first member: libjpeg only sees a pointer to it
  std::jmp_buf fatal;
};

[[noreturn]] void OnFatalError(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->fatal, 1);
}

void OnOutputMessage(j_common_ptr) {}

// Pixel data laid out as libjpeg takes it: `components` bytes a pixel, rows packed.
struct Samples {
  int width;
  int height;
  int components;
  J_COLOR_SPACE colourSpace;
  const unsigned char* data;
};

// Everything that can hit a fatal libjpeg error runs here, in a frame without destructors,
// because such an error longjmps back to the setjmp. Returns false on a libjpeg error. The
// output buffer, if any, is left for the caller to free.
bool Compress(jpeg_compress_struct* cinfo, ErrorManager* errors, const Samples& samples,
              const JpegOptions& options, unsigned char** out, unsigned long* outSize) {
  if (setjmp(errors->fatal) != 0) {
    jpeg_destroy_compress(cinfo);
    return false;
  }
  jpeg_create_compress(cinfo);
  jpeg_mem_dest(cinfo, out, outSize);
  cinfo->image_width = static_cast<JDIMENSION>(samples.width);
  cinfo->image_height = static_cast<JDIMENSION>(samples.height);
  cinfo->input_components = samples.components;
  cinfo->in_color_space = samples.colourSpace;
  jpeg_set_defaults(cinfo);
  jpeg_set_quality(cinfo, std::clamp(options.quality, 1, 100), TRUE);
  if (options.progressive) jpeg_simple_progression(cinfo);
  cinfo->arith_code = options.arithmetic ? TRUE : FALSE;
  if (options.fullResolutionColour) {
    for (int c = 0; c < cinfo->num_components; ++c) {
      cinfo->comp_info[c].h_samp_factor = 1;
      cinfo->comp_info[c].v_samp_factor = 1;
    }
  }
  if (options.restartEveryRow) cinfo->restart_in_rows = 1;
  jpeg_start_compress(cinfo, TRUE);
  const auto stride = static_cast<std::size_t>(samples.width) * samples.components;
  while (cinfo->next_scanline < cinfo->image_height) {
    auto* row = const_cast<JSAMPLE*>(samples.data + cinfo->next_scanline * stride);
    jpeg_write_scanlines(cinfo, &row, 1);
  }
  jpeg_finish_compress(cinfo);
  jpeg_destroy_compress(cinfo);
  return true;
}

// Reproducible per-pixel noise, independent of the order pixels are asked for.
std::uint32_t NoiseAt(int x, int y) {
  std::uint32_t h =
      static_cast<std::uint32_t>(x) * 0x9E3779B1u ^ static_cast<std::uint32_t>(y) * 0x85EBCA77u;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  h *= 0x297A2D39u;
  h ^= h >> 15;
  return h;
}

int Ramp(int position, int extent) { return extent <= 1 ? 0 : position * 255 / (extent - 1); }

// A marker segment: 0xFF, the marker, and a two-byte big-endian length that counts itself.
std::size_t SegmentLength(const std::vector<unsigned char>& jpeg, std::size_t at) {
  return (std::size_t{jpeg[at + 2]} << 8) | jpeg[at + 3];
}

// Where the first segment whose marker `wanted` accepts begins, among the segments after the
// start marker up to and including the first scan's header; nothing when there is none.
template <typename Wanted>
std::optional<std::size_t> FindSegment(const std::vector<unsigned char>& jpeg, Wanted wanted) {
  std::size_t at = 2;
  while (at + 4 <= jpeg.size() && jpeg[at] == 0xFF) {
    if (wanted(jpeg[at + 1])) return at;
    if (jpeg[at + 1] == 0xDA) break;
    at += 2 + SegmentLength(jpeg, at);
  }
  return std::nullopt;
}

// The frame header (SOF marker), whose payload is precision (1 byte), height (2), width (2), ...
std::size_t FrameHeader(const std::vector<unsigned char>& jpeg) {
  const auto at = FindSegment(jpeg, [](unsigned char marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
  });
  if (!at || *at + 9 > jpeg.size()) throw std::invalid_argument("no JPEG frame header found");
  return *at;
}

// The first start-of-scan marker.
std::size_t FirstScan(const std::vector<unsigned char>& jpeg) {
  const auto at = FindSegment(jpeg, [](unsigned char marker) { return marker == 0xDA; });
  if (!at || *at + 4 > jpeg.size()) throw std::invalid_argument("no JPEG scan");
  return *at;
}

// `strip`, a sequential picture one row of blocks high with a restart marker after every row,
// made `copies` times as tall by repeating its compressed data: every copy decodes alone after
// its restart marker.
std::vector<unsigned char> StackStrip(const std::vector<unsigned char>& strip, int copies) {
  const std::size_t scan = FirstScan(strip);
  // The coded data follows the scan header and runs up to the end marker.
  const auto data =
      strip.begin() + static_cast<std::ptrdiff_t>(scan + 2 + SegmentLength(strip, scan));
  const auto end = strip.end() - 2;
  std::vector<unsigned char> out(strip.begin(), data);
  for (int copy = 0; copy < copies; ++copy) {
    if (copy > 0) {
      out.push_back(0xFF);
      out.push_back(static_cast<unsigned char>(0xD0 + (copy - 1) % 8));  // RST0 ... RST7
    }
    out.insert(out.end(), data, end);
  }
  out.insert(out.end(), end, strip.end());
  const std::size_t frame = FrameHeader(strip);
  const int height = (strip[frame + 5] << 8) | strip[frame + 6];
  const int width = (strip[frame + 7] << 8) | strip[frame + 8];
  SetJpegDimensions(out, width, height * copies);
  return out;
}

}  // namespace

QRgb PatternColourAt(const JpegOptions& options, int x, int y) {
  const QRgb base = options.colour.rgb();
  switch (options.pattern) {
    case FillPattern::kSolid:
      return base;
    case FillPattern::kGradient:
      return qRgb(Ramp(x, options.width), Ramp(y, options.height), qBlue(base));
    case FillPattern::kChecker:
      if (((x / kCheckerSide) + (y / kCheckerSide)) % 2 == 0) return base;
      return qRgb(255 - qRed(base), 255 - qGreen(base), 255 - qBlue(base));
    case FillPattern::kNoise:
      return NoiseAt(x, y) | 0xff000000u;
  }
  return base;
}

QImage PatternImage(const JpegOptions& options) {
  QImage image(options.width, options.height, QImage::Format_RGB32);
  if (image.isNull()) throw std::runtime_error("cannot allocate the test picture");
  for (int y = 0; y < options.height; ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < options.width; ++x) row[x] = PatternColourAt(options, x, y);
  }
  return image;
}

std::vector<unsigned char> EncodeJpeg(const QImage& image, const JpegOptions& options) {
  if (image.isNull()) throw std::invalid_argument("cannot encode an empty picture");
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);

  Samples samples{rgb.width(), rgb.height(), 3, JCS_RGB, nullptr};
  switch (options.colourSpace) {
    case JpegColourSpace::kColour:
      break;
    case JpegColourSpace::kGrayscale:
      samples.components = 1;
      samples.colourSpace = JCS_GRAYSCALE;
      break;
    case JpegColourSpace::kCmyk:
      samples.components = 4;
      samples.colourSpace = JCS_CMYK;
      break;
  }

  std::vector<unsigned char> data(static_cast<std::size_t>(samples.width) * samples.height *
                                  samples.components);
  unsigned char* out = data.data();
  for (int y = 0; y < samples.height; ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    for (int x = 0; x < samples.width; ++x) {
      const QRgb pixel = row[x];
      switch (options.colourSpace) {
        case JpegColourSpace::kColour:
          *out++ = static_cast<unsigned char>(qRed(pixel));
          *out++ = static_cast<unsigned char>(qGreen(pixel));
          *out++ = static_cast<unsigned char>(qBlue(pixel));
          break;
        case JpegColourSpace::kGrayscale:
          *out++ = static_cast<unsigned char>(qGray(pixel));
          break;
        case JpegColourSpace::kCmyk:
          *out++ = static_cast<unsigned char>(255 - qRed(pixel));
          *out++ = static_cast<unsigned char>(255 - qGreen(pixel));
          *out++ = static_cast<unsigned char>(255 - qBlue(pixel));
          *out++ = 0;
          break;
      }
    }
  }
  samples.data = data.data();

  jpeg_compress_struct cinfo{};
  ErrorManager errors{};
  cinfo.err = jpeg_std_error(&errors.pub);
  errors.pub.error_exit = OnFatalError;
  errors.pub.output_message = OnOutputMessage;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  const bool ok = Compress(&cinfo, &errors, samples, options, &buffer, &size);
  std::vector<unsigned char> jpeg;
  if (ok && buffer != nullptr) jpeg.assign(buffer, buffer + size);
  std::free(buffer);
  if (!ok) {
    throw std::runtime_error("libjpeg could not encode the test picture (message " +
                             std::to_string(errors.pub.msg_code) + ")");
  }
  return jpeg;
}

std::vector<unsigned char> MakeJpeg(const JpegOptions& options) {
  return EncodeJpeg(PatternImage(options), options);
}

void SetJpegDimensions(std::vector<unsigned char>& jpeg, int width, int height) {
  const std::size_t at = FrameHeader(jpeg);
  jpeg[at + 5] = static_cast<unsigned char>(height >> 8);
  jpeg[at + 6] = static_cast<unsigned char>(height);
  jpeg[at + 7] = static_cast<unsigned char>(width >> 8);
  jpeg[at + 8] = static_cast<unsigned char>(width);
}

std::vector<unsigned char> RepeatScans(const std::vector<unsigned char>& jpeg, int scans) {
  // The scans run from the first start-of-scan marker to the two-byte end marker. Only files
  // made by EncodeJpeg are handled: they end with that marker.
  const auto first = jpeg.begin() + static_cast<std::ptrdiff_t>(FirstScan(jpeg));
  const auto end = jpeg.end() - 2;
  // Count the scans of one copy to know how many copies make `scans`.
  int perCopy = 0;
  for (auto it = first; it + 1 < end; ++it) perCopy += (it[0] == 0xFF && it[1] == 0xDA) ? 1 : 0;
  std::vector<unsigned char> out(jpeg.begin(), first);
  for (int made = 0; made < scans; made += perCopy) out.insert(out.end(), first, end);
  out.insert(out.end(), end, jpeg.end());
  return out;
}

std::vector<unsigned char> MakeStackedJpeg(const JpegOptions& options) {
  const bool subsampled =
      options.colourSpace != JpegColourSpace::kGrayscale && !options.fullResolutionColour;
  const int rowOfBlocks = subsampled ? 16 : 8;
  if (options.progressive || options.height % rowOfBlocks != 0) {
    throw std::invalid_argument("a stacked picture is sequential, in whole rows of blocks");
  }
  JpegOptions strip = options;
  strip.height = rowOfBlocks;
  strip.restartEveryRow = true;
  return StackStrip(MakeJpeg(strip), options.height / rowOfBlocks);
}

void WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  file.close();
  if (!file) throw std::runtime_error("cannot write " + path);
}

void WriteJpegFile(const std::string& path, const JpegOptions& options) {
  WriteBytes(path, MakeJpeg(options));
}

}  // namespace tollwen::test
