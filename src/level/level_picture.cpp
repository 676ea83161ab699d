#include "level/level_picture.h"

#include <QtEndian>
#include <algorithm>
#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstdio>  // jpeglib.h needs FILE and size_t declared before it
#include <memory>
#include <string>
#include <vector>

#include "level/errors.h"

extern "C" {
#include <jpeglib.h>
// The message codes: the one for a file that ends early is looked for.
#include <jerror.h>
}

#ifndef JCS_ALPHA_EXTENSIONS
#error "The level picture loader needs libjpeg-turbo's extended output colour spaces"
#endif

namespace tollwen {
namespace {

// A real level picture is a few hundred kilobytes. The loader never reads more than this much of
// a file: whatever lies beyond it is treated as missing, as in a truncated file.
constexpr std::uint64_t kMaxFileBytes = std::uint64_t{64} << 20;

// The file is handed to libjpeg this much at a time, so that no file costs more memory.
constexpr std::size_t kSourceBlockBytes = 64 * 1024;

// A picture of another size than 640 x 447 is read through (its data decoded, its pixels not
// made), so that a fatal error libjpeg finds in it is reported as a full decode would report it.
// That reading is bounded by its work, counted once the header has shown the size: every byte
// of compressed data taken in and every block of coefficients decoded (once per scan that holds
// it). Past the limit the size alone decides: the rest of a large picture or of its scans could
// take seconds, and the picture is refused either way. A unit of work is about a nanosecond on
// the development machine for the slowest data of each kind (a byte of arithmetic-coded noise
// takes 120 ns, a block 8 to 15 ns where the bytes are few), so the limit is reached within a
// tenth of a second there, however the file is made.
constexpr std::uint64_t kReadThroughWorkLimit = std::uint64_t{1} << 26;
constexpr std::uint64_t kWorkPerByte = 128;
constexpr std::uint64_t kWorkPerBlock = 16;

// The most rows skipped in one go are those of this many pixels, so that the work is counted
// often enough.
constexpr std::uint64_t kReadThroughRunPixels = std::uint64_t{1} << 20;

// libjpeg's own working memory (the whole-image coefficient buffers of progressive and
// multi-scan files) stays below this. A 640 x 447 picture needs under 2 MiB; a file that would
// need more fails with libjpeg's own error code, before its scans are read. Each scan of a
// progressive file is a pass over that buffer, so this also bounds what the scans cost.
constexpr long kMaxDecoderMemory = 8L << 20;

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

// The work spent reading a picture of another size through (see kReadThroughWorkLimit).
struct ReadThroughWork {
  bool counting = false;  // the header has shown another size than 640 x 447
  std::uint64_t spent = 0;
  bool limitReached = false;
  // How far the decoded blocks have been counted: the scan and its rows of blocks.
  int countedScan = 0;
  JDIMENSION countedRows = 0;
};

// libjpeg's error manager, extended with the place a fatal error returns to and with what the
// callbacks below keep track of for the decode.
struct ErrorManager {
  jpeg_error_mgr pub;  // first member: libjpeg only sees a pointer to it
  std::jmp_buf fatal;
  bool tooManyScans = false;
  int readError = 0;                             // errno of a failed read of the file
  std::vector<std::string>* warnings = nullptr;  // where libjpeg's warnings go, if anywhere
  ReadThroughWork work;
};

ErrorManager& ErrorsOf(j_common_ptr cinfo) { return *reinterpret_cast<ErrorManager*>(cinfo->err); }
ErrorManager& ErrorsOf(j_decompress_ptr cinfo) {
  return ErrorsOf(reinterpret_cast<j_common_ptr>(cinfo));
}

// Adds `units` to the work of reading a picture of another size through; past the limit the
// decode stops there.
void SpendReadThroughWork(j_decompress_ptr cinfo, std::uint64_t units) {
  ErrorManager& errors = ErrorsOf(cinfo);
  if (!errors.work.counting) return;
  errors.work.spent += units;
  if (errors.work.spent <= kReadThroughWorkLimit) return;
  errors.work.limitReached = true;
  std::longjmp(errors.fatal, 1);
}

// Counts the blocks libjpeg has decoded since the last count. libjpeg advances input_iMCU_row
// as it decodes each row of blocks of the current scan, and starts it again at each scan.
void CountDecodedBlocks(j_decompress_ptr cinfo) {
  ReadThroughWork& work = ErrorsOf(cinfo).work;
  if (!work.counting || cinfo->input_scan_number < 1) return;
  const JDIMENSION before = cinfo->input_scan_number == work.countedScan ? work.countedRows : 0;
  const JDIMENSION now = cinfo->input_iMCU_row;
  work.countedScan = cinfo->input_scan_number;
  work.countedRows = now;
  if (now <= before) return;
  // A scan of one component holds its blocks in rows of v_samp_factor blocks; an interleaved
  // scan in rows of MCUs.
  const jpeg_component_info* first = cinfo->cur_comp_info[0];
  const std::uint64_t blocksPerRow =
      cinfo->comps_in_scan == 1 && first != nullptr
          ? std::uint64_t{first->width_in_blocks} * static_cast<unsigned>(first->v_samp_factor)
          : std::uint64_t{cinfo->MCUs_per_row} * static_cast<unsigned>(cinfo->blocks_in_MCU);
  SpendReadThroughWork(cinfo, (now - before) * blocksPerRow * kWorkPerBlock);
}

[[noreturn]] void OnFatalError(j_common_ptr cinfo) { std::longjmp(ErrorsOf(cinfo).fatal, 1); }

// libjpeg's data source: the picture's bytes, read a block at a time up to kMaxFileBytes. At the
// end of the file (or of what is read of it) the source says so with libjpeg's own warning and
// supplies an end-of-image marker, so that a truncated file decodes with its missing part
// filled in; an empty file is libjpeg's own error.
struct FileSource {
  jpeg_source_mgr pub;  // first member: libjpeg only sees a pointer to it
  ByteSource* bytes = nullptr;
  std::uint64_t offset = 0;  // where the next read starts in the file
  bool readAny = false;
  JOCTET block[kSourceBlockBytes];
};

void OnInitSource(j_decompress_ptr) {}
void OnTermSource(j_decompress_ptr) {}

boolean OnFillInput(j_decompress_ptr cinfo) {
  static const JOCTET kEndOfImage[] = {0xFF, JPEG_EOI};
  auto* source = reinterpret_cast<FileSource*>(cinfo->src);
  std::size_t got = 0;
  if (source->offset < kMaxFileBytes) {
    const auto wanted = static_cast<std::size_t>(
        std::min<std::uint64_t>(kSourceBlockBytes, kMaxFileBytes - source->offset));
    int error = 0;
    got = source->bytes->ReadAt(source->offset, source->block, wanted, error);
    if (error != 0) {
      ErrorManager& errors = ErrorsOf(cinfo);
      errors.readError = error;
      std::longjmp(errors.fatal, 1);
    }
  }
  if (got == 0) {
    if (!source->readAny) ERREXIT(cinfo, JERR_INPUT_EMPTY);
    WARNMS(cinfo, JWRN_JPEG_EOF);
    source->pub.next_input_byte = kEndOfImage;
    source->pub.bytes_in_buffer = sizeof kEndOfImage;
    return TRUE;
  }
  source->readAny = true;
  source->offset += got;
  source->pub.next_input_byte = source->block;
  source->pub.bytes_in_buffer = got;
  SpendReadThroughWork(cinfo, std::uint64_t{got} * kWorkPerByte);
  return TRUE;
}

// Skips what libjpeg does not need (the rest of an unknown marker segment) without reading it.
void OnSkipInput(j_decompress_ptr cinfo, long count) {
  if (count <= 0) return;
  auto* source = reinterpret_cast<FileSource*>(cinfo->src);
  const auto skipped = static_cast<std::size_t>(count);
  if (skipped <= source->pub.bytes_in_buffer) {
    source->pub.next_input_byte += skipped;
    source->pub.bytes_in_buffer -= skipped;
    return;
  }
  source->offset += skipped - source->pub.bytes_in_buffer;
  source->pub.bytes_in_buffer = 0;
}

// libjpeg calls its progress monitor before it takes in each row of blocks of a file of several
// scans, and before each call for rows of the picture. So a file that repeats its scans is stopped
// at the first scan over the limit, and the blocks decoded count towards the work of a
// read-through. libjpeg itself sets none.
void OnProgress(j_common_ptr common) {
  auto* cinfo = reinterpret_cast<j_decompress_ptr>(common);
  if (cinfo->input_scan_number > kMaxJpegScans) {
    ErrorManager& errors = ErrorsOf(common);
    errors.tooManyScans = true;
    std::longjmp(errors.fatal, 1);
  }
  CountDecodedBlocks(cinfo);
}

// Warnings (a truncated or slightly corrupt file) do not stop the decode; the caller may ask for
// their texts, each different one once and at most kMaxJpegWarnings of them. Trace messages
// (levels 1 and up) are ignored.
void OnEmitMessage(j_common_ptr cinfo, int level) {
  if (level >= 0) return;
  ++cinfo->err->num_warnings;
  std::vector<std::string>* warnings = reinterpret_cast<ErrorManager*>(cinfo->err)->warnings;
  if (warnings == nullptr || warnings->size() >= kMaxJpegWarnings) return;
  char text[JMSG_LENGTH_MAX] = {};
  (*cinfo->err->format_message)(cinfo, text);
  // Nothing may be thrown through libjpeg's frames: a warning that cannot be kept is dropped.
  try {
    if (std::find(warnings->begin(), warnings->end(), text) == warnings->end()) {
      warnings->emplace_back(text);
    }
  } catch (...) {
  }
}
void OnOutputMessage(j_common_ptr) {}

enum class DecodeResult { kDecoded, kOtherSize, kJpegError, kOutOfMemory };

// Whether a picture of another size than 640 x 447 is decoded whole or only read through.
enum class OtherSizes { kDecode, kReadThrough };

// Expands one row of gray colour-map indices into opaque RGB32 pixels.
void ExpandGrayRow(const JSAMPLE* indices, const QRgb* palette, JDIMENSION width, uchar* out) {
  auto* pixels = reinterpret_cast<QRgb*>(out);
  for (JDIMENSION x = 0; x < width; ++x) pixels[x] = palette[indices[x]];
}

// True once the compressed data has come to the end-of-image marker (the file's own, or the one
// the source supplies when the file is cut short). libjpeg never resumes decoding after it: it
// fills in the rest of the picture, which can no longer fail.
bool DataEnded(j_decompress_ptr cinfo) { return cinfo->unread_marker == JPEG_EOI; }

// Takes a started decompression towards its end without keeping any pixels. Rows are skipped,
// which still makes libjpeg read the compressed data (where its errors come from) but not turn
// it into pixels, in runs that grow from one row of blocks, and the reading stops as soon as the
// data has ended. Otherwise the last row is read into a single row buffer so that libjpeg goes on
// to the end of the file as a full decode does; true then, and the caller finishes the
// decompression. The work is counted after each run; past its limit, and on fatal errors, the
// decode longjmps past this frame, which holds no object with a destructor.
bool ReadThrough(j_decompress_ptr cinfo) {
  const JDIMENSION last = cinfo->output_height - 1;
  const auto blockRow = static_cast<JDIMENSION>(cinfo->max_v_samp_factor) * DCTSIZE;
  const auto longestRun = std::max<JDIMENSION>(
      blockRow, static_cast<JDIMENSION>(kReadThroughRunPixels / cinfo->output_width));
  JDIMENSION run = blockRow;
  for (;;) {
    CountDecodedBlocks(cinfo);
    if (DataEnded(cinfo)) return false;
    if (cinfo->output_scanline >= last) break;
    jpeg_skip_scanlines(cinfo, std::min(run, last - cinfo->output_scanline));
    run = std::min(run * 2, longestRun);
  }
  JSAMPARRAY row = (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE,
                                               cinfo->output_width * cinfo->output_components, 1);
  jpeg_read_scanlines(cinfo, row, 1);
  return true;
}

// Runs the whole decode. A fatal libjpeg error longjmps back to the setjmp below, so this frame
// holds no object with a destructor, and everything it reads after the jump lives in the caller.
// The decompressor is destroyed on every path.
DecodeResult Decode(jpeg_decompress_struct* cinfo, ErrorManager* errors,
                    jpeg_progress_mgr* progress, FileSource* source, OtherSizes otherSizes,
                    QImage* image, QSize* size) {
  if (setjmp(errors->fatal) != 0) {
    jpeg_destroy_decompress(cinfo);  // safe at any stage, even before creation finished
    return DecodeResult::kJpegError;
  }

  jpeg_create_decompress(cinfo);
  cinfo->mem->max_memory_to_use = kMaxDecoderMemory;
  cinfo->progress = progress;
  cinfo->src = &source->pub;
  jpeg_read_header(cinfo, TRUE);
  // Output is at full scale, so the picture's size is the header's.
  if (size != nullptr) {
    *size = QSize(static_cast<int>(cinfo->image_width), static_cast<int>(cinfo->image_height));
  }
  errors->work.counting =
      otherSizes == OtherSizes::kReadThrough &&
      (cinfo->image_width != kLevelPictureWidth || cinfo->image_height != kLevelPictureHeight);

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
    // libjpeg quantises a single component in one pass whatever this says; saying so lets a
    // picture of another size be skipped through (skipping refuses two-pass quantising).
    cinfo->two_pass_quantize = FALSE;
  } else {
    // A colour space libjpeg cannot turn into RGB (CMYK, for one) fails in
    // jpeg_start_decompress with libjpeg's own message code.
    cinfo->out_color_space = kRgb32ColorSpace;
  }

  jpeg_start_decompress(cinfo);

  if (errors->work.counting) {
    if (ReadThrough(cinfo)) jpeg_finish_decompress(cinfo);
    jpeg_destroy_decompress(cinfo);
    return DecodeResult::kOtherSize;
  }

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

// Reads and decodes `bytes`; throws for every failure. `image` stays null for a picture of
// another size read through.
DecodeResult DecodeBytes(ByteSource& bytes, OtherSizes otherSizes, QImage* image,
                         QSize* size = nullptr, std::vector<std::string>* warnings = nullptr) {
  // Large, so it lives on the heap; it holds no resource of its own.
  auto source = std::make_unique<FileSource>();
  source->bytes = &bytes;
  source->pub.init_source = OnInitSource;
  source->pub.fill_input_buffer = OnFillInput;
  source->pub.skip_input_data = OnSkipInput;
  source->pub.resync_to_restart = jpeg_resync_to_restart;
  source->pub.term_source = OnTermSource;

  jpeg_decompress_struct cinfo{};
  ErrorManager errors{};
  cinfo.err = jpeg_std_error(&errors.pub);
  errors.pub.error_exit = OnFatalError;
  errors.pub.emit_message = OnEmitMessage;
  errors.pub.output_message = OnOutputMessage;
  errors.warnings = warnings;
  jpeg_progress_mgr progress{};
  progress.progress_monitor = OnProgress;

  const DecodeResult result =
      Decode(&cinfo, &errors, &progress, source.get(), otherSizes, image, size);
  switch (result) {
    case DecodeResult::kDecoded:
    case DecodeResult::kOtherSize:
      return result;
    case DecodeResult::kOutOfMemory:
      throw OutOfMemoryError();
    case DecodeResult::kJpegError:
      break;
  }
  if (errors.readError != 0) throw InOutError::FromErrno(errors.readError);
  // A picture of another size is refused whatever the rest of it holds: the work limit, the
  // scan limit and libjpeg's memory limit (a buffer for all of a large progressive picture)
  // only stop the search for an error of its own.
  if (errors.work.counting &&
      (errors.work.limitReached || errors.tooManyScans ||
       errors.pub.msg_code == JERR_NO_BACKING_STORE || errors.pub.msg_code == JERR_OUT_OF_MEMORY)) {
    return DecodeResult::kOtherSize;
  }
  if (errors.tooManyScans) {
    throw EditorError(
        Message(QT_TRANSLATE_NOOP("tollwen::Message", "Error: Image has more than %1 scans!"),
                {Message::Verbatim(std::to_string(kMaxJpegScans))}));
  }
  throw JpegError(errors.pub.msg_code);
}

}  // namespace

QImage DecodeJpeg(ByteSource& bytes) {
  QImage image;
  DecodeBytes(bytes, OtherSizes::kDecode, &image);
  return image;
}

std::optional<QImage> DecodeLevelPicture(ByteSource& bytes, QSize* size,
                                         std::vector<std::string>* warnings) {
  QImage image;
  if (DecodeBytes(bytes, OtherSizes::kReadThrough, &image, size, warnings) ==
      DecodeResult::kOtherSize) {
    return std::nullopt;
  }
  return image;
}

bool IsLevelPictureSize(const QImage& bitmap) {
  return bitmap.width() == kLevelPictureWidth && bitmap.height() == kLevelPictureHeight;
}

}  // namespace tollwen
