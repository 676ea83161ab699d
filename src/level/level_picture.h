#pragma once

#include <QImage>
#include <QSize>
#include <QtGlobal>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "level/byte_source.h"

namespace tollwen {

// Every level picture is exactly this size; the grid's cells are laid out over it.
inline constexpr int kLevelPictureWidth = 640;
inline constexpr int kLevelPictureHeight = 447;

// The message opening a level shows for a picture of another size (a Message source), and the
// rule in it, as the level tool states it.
inline constexpr char kPictureSizeMessage[] =
    QT_TRANSLATE_NOOP("tollwen::Message", "Error: Image must be 640x447 pixels in size!");
inline constexpr std::string_view kPictureSizeRule =
    std::string_view(kPictureSizeMessage).substr(std::string_view("Error: ").size());

// A file that would make libjpeg go through more scans than this is refused: a real level
// picture has a few dozen at most, while each repeated scan of a hostile file costs a pass
// over the whole picture.
inline constexpr int kMaxJpegScans = 100;

// Decodes the JPEG in `bytes` at full size into an opaque 32-bit image
// (QImage::Format_RGB32). A grayscale picture is reduced by libjpeg's quantiser to at most
// 236 gray levels. Throws InOutError when the bytes cannot be read and JpegError for
// anything libjpeg cannot decode; libjpeg's warnings are ignored, so a truncated file decodes.
// libjpeg's working memory is limited to a wide margin over what a 640 x 447 picture needs
// (a picture that needs more fails with libjpeg's own error), a file with more than
// kMaxJpegScans scans fails with "Error: Image has more than 100 scans!", and an image
// that cannot be allocated with "Out of memory".
// Only the first 64 MiB are read; the rest counts as missing.
QImage DecodeJpeg(ByteSource& bytes);

// The most different warnings DecodeLevelPicture passes on for one picture.
inline constexpr std::size_t kMaxJpegWarnings = 8;

// Decodes the JPEG in `bytes` as opening a level needs it: the picture when it is
// 640 x 447, nothing when it has any other size. Such a picture is never held whole: its data
// is read through without making pixels, so that a fatal libjpeg error in it is reported as a
// full decode would report it, but only for a bounded amount of work (well under a tenth of a
// second on the development machine, whatever the file); past that, and where libjpeg stops
// only for its memory limit or the scan limit is reached, the size alone decides. Throws as
// DecodeJpeg does. `size`, when given, receives the picture's size as its header gives it.
// `warnings`, when given, receives the text of each different warning libjpeg gave while
// decoding (a truncated or damaged file that still decodes: "Premature end of JPEG file"), in
// the order met, at most kMaxJpegWarnings; the editor itself opens such a picture without a
// word.
std::optional<QImage> DecodeLevelPicture(ByteSource& bytes, QSize* size = nullptr,
                                         std::vector<std::string>* warnings = nullptr);

// True for a 640 x 447 picture.
bool IsLevelPictureSize(const QImage& bitmap);

}  // namespace tollwen
