#pragma once

#include <QImage>
#include <QSize>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "level/grid_geometry.h"

namespace tollwen {

inline constexpr int kLevelPictureWidth = geometry::kPictureWidth;
inline constexpr int kLevelPictureHeight = geometry::kPictureHeight;

// A file that would make libjpeg go through more scans than this is refused: a real level
// picture has a few dozen at most, while each repeated scan of a hostile file costs a pass
// over the whole picture.
inline constexpr int kMaxJpegScans = 100;

// Decodes the JPEG file at `path` at full size into an opaque 32-bit image
// (QImage::Format_RGB32). A grayscale picture is reduced by libjpeg's quantiser to at most
// 236 gray levels. Throws FileOpenError when the file cannot be opened and JpegError for
// anything libjpeg cannot decode; libjpeg's warnings are ignored, so a truncated file decodes.
// libjpeg's working memory is limited to a wide margin over what a 640 x 447 picture needs
// (a picture that needs more fails with libjpeg's own error), a file with more than
// kMaxJpegScans scans fails with "Error: Image has more than 100 scans!", and an image
// that cannot be allocated with "Out of memory".
QImage LoadJpegIntoBitmap(const std::string& path);

// The most different warnings LoadLevelPicture passes on for one picture.
inline constexpr std::size_t kMaxJpegWarnings = 8;

// Decodes the JPEG file at `path` as opening a level needs it: the picture when it is
// 640 x 447, nothing when libjpeg reads it to its end without a fatal error but it has any
// other size. Such a picture is never held whole, so its size costs neither memory nor,
// however large it claims to be, the time of decoding every pixel. Throws as
// LoadJpegIntoBitmap does. `size`, when given, receives the picture's size. `warnings`, when
// given, receives the text of each different warning libjpeg gave while decoding (a truncated
// or damaged file that still decodes: "Premature end of JPEG file"), in the order met, at most
// kMaxJpegWarnings; the editor itself opens such a picture without a word.
std::optional<QImage> LoadLevelPicture(const std::string& path, QSize* size = nullptr,
                                       std::vector<std::string>* warnings = nullptr);

// True for a 640 x 447 picture.
bool IsLevelPictureSize(const QImage& bitmap);

}  // namespace tollwen
