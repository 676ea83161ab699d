#include "level/level_picture.h"

#include <QtEndian>
#include <algorithm>
#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstdio>  // jpeglib.h needs FILE and size_t declared before it
#include <vector>

#include "level/errors.h"
#include "level/posix_file.h"

extern "C" {
#include <jpeglib.h>
}

#ifndef JCS_ALPHA_EXTENSIONS
#error "The level picture loader needs libjpeg-turbo's extended output colour spaces"
#endif

namespace tollwen {
namespace {

// A real level picture is a few hundred kilobytes. The loader never holds more than this much of
// a file in memory: whatever lies beyond it is treated as missing, as in a truncated file.
constexpr std::size_t kMaxFileBytes = std::size_t{64} << 20;

// A header may claim up to 65500 pixels a side, and a file of a few hundred bytes can make that
// claim: libjpeg fills in whatever data is missing. Such a picture is refused before anything is
// allocated when a side exceeds 16384 pixels or the whole exceeds 64 megapixels (256 MiB of
// RGB32; decoding a picture that large already takes seconds). Level pictures and everyday
// camera photos are far smaller.
constexpr JDIMENSION kMaxPictureSide = 16384;
constexpr std::uint64_t kMaxPicturePixels = std::uint64_t{1} << 26;

// libjpeg's own working memory (whole-image coefficient buffers of progressive files) stays
// below this; a file that would need more fails with libjpeg's own error code.
constexpr long kMaxDecoderMemory = 512L << 20;

// libjpeg's quantiser reduces grayscale pictures to this many gray levels.
constexpr int kGrayLevels = 236;

// Output colour space whose memory layout matches QImage::Format_RGB32 (0xffRRGGBB held as a
// native 32-bit word). The alpha variants are used because they guarantee 0xff in the fourth
// byte, which Format_RGB32 requires; the X variants leave it undefined.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
constexpr J_COLOR_SPACE kRgb32ColorSpace = JCS_EXT_BGRA;
#else
constexpr J_COLOR_SPACE kRgb32ColorSpace = JCS_EXT_ARGB;
#endif

// Reads the whole file (at most kMaxFileBytes of it) into memory. Only regular files are read
// (see OpenForReading).
std::vector<unsigned char> ReadWholeFile(const std::string& path) {
  const ReadableFile opened = OpenForReading(path);
  std::vector<unsigned char> data;
  // The size is only a hint: the file may change while it is read.
  data.resize(static_cast<std::size_t>(std::min<std::uint64_t>(opened.size, kMaxFileBytes)));
  std::size_t filled = 0;
  for (;;) {
    if (filled == data.size()) {
      if (data.size() == kMaxFileBytes) break;
      data.resize(std::min(kMaxFileBytes, std::max<std::size_t>(data.size() * 2, 64 * 1024)));
    }
    const std::size_t got = ReadSome(
        opened.file.get(), reinterpret_cast<char*>(data.data()) + filled, data.size() - filled);
    if (got == 0) break;
    filled += got;
  }
  data.resize(filled);
  return data;
}

// libjpeg's error manager, extended with the place a fatal error returns to.
struct ErrorManager {
  jpeg_error_mgr pub;  // first member: libjpeg only sees a pointer to it
  std::jmp_buf fatal;
};

[[noreturn]] void OnFatalError(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->fatal, 1);
}

// Warnings (a truncated or slightly corrupt file) and trace messages are ignored.
void OnEmitMessage(j_common_ptr, int) {}
void OnOutputMessage(j_common_ptr) {}

enum class DecodeResult { kDecoded, kJpegError, kOutOfMemory };

// Expands one row of gray colour-map indices into opaque RGB32 pixels.
void ExpandGrayRow(const JSAMPLE* indices, const QRgb* palette, JDIMENSION width, uchar* out) {
  auto* pixels = reinterpret_cast<QRgb*>(out);
  for (JDIMENSION x = 0; x < width; ++x) pixels[x] = palette[indices[x]];
}

// Runs the whole decode. A fatal libjpeg error longjmps back to the setjmp below, so this frame
// holds no object with a destructor, and everything it reads after the jump lives in the caller.
// The decompressor is destroyed on every path.
DecodeResult Decode(jpeg_decompress_struct* cinfo, ErrorManager* errors,
                    const std::vector<unsigned char>& data, QImage* image) {
  if (setjmp(errors->fatal) != 0) {
    jpeg_destroy_decompress(cinfo);  // safe at any stage, even before creation finished
    return DecodeResult::kJpegError;
  }

  jpeg_create_decompress(cinfo);
  cinfo->mem->max_memory_to_use = kMaxDecoderMemory;
  jpeg_mem_src(cinfo, data.data(), static_cast<unsigned long>(data.size()));
  jpeg_read_header(cinfo, TRUE);

  if (cinfo->image_width > kMaxPictureSide || cinfo->image_height > kMaxPictureSide ||
      std::uint64_t{cinfo->image_width} * cinfo->image_height > kMaxPicturePixels) {
    jpeg_destroy_decompress(cinfo);
    return DecodeResult::kOutOfMemory;
  }

  cinfo->scale_num = 1;
  cinfo->scale_denom = 1;
  cinfo->dct_method = JDCT_FLOAT;
  cinfo->do_fancy_upsampling = TRUE;
  cinfo->do_block_smoothing = TRUE;
  const bool gray = cinfo->jpeg_color_space == JCS_GRAYSCALE;
  if (gray) {
    cinfo->out_color_space = JCS_GRAYSCALE;
    cinfo->quantize_colors = TRUE;
    cinfo->desired_number_of_colors = kGrayLevels;
  } else {
    // A colour space libjpeg cannot turn into RGB (CMYK, for one) fails in
    // jpeg_start_decompress with libjpeg's own message code.
    cinfo->out_color_space = kRgb32ColorSpace;
  }

  jpeg_start_decompress(cinfo);

  // The temporary below is gone before the next libjpeg call, so no destructor is skipped.
  *image = QImage(static_cast<int>(cinfo->output_width), static_cast<int>(cinfo->output_height),
                  QImage::Format_RGB32);
  if (image->isNull()) {
    jpeg_destroy_decompress(cinfo);
    return DecodeResult::kOutOfMemory;
  }

  uchar* const bits = image->bits();
  const auto stride = static_cast<std::size_t>(image->bytesPerLine());
  if (gray) {
    // The quantiser's colour map holds the gray value of each index; unused entries stay black.
    QRgb palette[256] = {};
    for (int i = 0; i < cinfo->actual_number_of_colors && i < 256; ++i) {
      const int level = cinfo->colormap[0][i];
      palette[i] = qRgb(level, level, level);
    }
    // One row of indices, from libjpeg's own pool so that it is freed with the decompressor.
    JSAMPARRAY indices = (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo),
                                                     JPOOL_IMAGE, cinfo->output_width, 1);
    while (cinfo->output_scanline < cinfo->output_height) {
      const JDIMENSION y = cinfo->output_scanline;
      jpeg_read_scanlines(cinfo, indices, 1);
      ExpandGrayRow(indices[0], palette, cinfo->output_width, bits + y * stride);
    }
  } else {
    while (cinfo->output_scanline < cinfo->output_height) {
      JSAMPROW row = bits + cinfo->output_scanline * stride;
      jpeg_read_scanlines(cinfo, &row, 1);
    }
  }

  jpeg_finish_decompress(cinfo);
  jpeg_destroy_decompress(cinfo);
  return DecodeResult::kDecoded;
}

}  // namespace

QImage LoadJpegIntoBitmap(const std::string& path) {
  const std::vector<unsigned char> data = ReadWholeFile(path);

  jpeg_decompress_struct cinfo{};
  ErrorManager errors{};
  cinfo.err = jpeg_std_error(&errors.pub);
  errors.pub.error_exit = OnFatalError;
  errors.pub.emit_message = OnEmitMessage;
  errors.pub.output_message = OnOutputMessage;

  QImage image;
  switch (Decode(&cinfo, &errors, data, &image)) {
    case DecodeResult::kDecoded:
      return image;
    case DecodeResult::kOutOfMemory:
      throw EditorError("Out of memory");
    case DecodeResult::kJpegError:
      break;
  }
  throw JpegError(errors.pub.msg_code);
}

bool IsLevelPictureSize(const QImage& bitmap) {
  return bitmap.width() == kLevelPictureWidth && bitmap.height() == kLevelPictureHeight;
}

}  // namespace tollwen
