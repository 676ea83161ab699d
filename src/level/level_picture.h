#pragma once

#include <QImage>
#include <string>

#include "level/grid_geometry.h"

namespace tollwen {

inline constexpr int kLevelPictureWidth = geometry::kPictureWidth;
inline constexpr int kLevelPictureHeight = geometry::kPictureHeight;

// Decodes the JPEG file at `path` at full size into an opaque 32-bit image
// (QImage::Format_RGB32). A grayscale picture is reduced by libjpeg's quantiser to at most
// 236 gray levels. Throws FileOpenError when the file cannot be opened and JpegError for
// anything libjpeg cannot decode; libjpeg's warnings are ignored, so a truncated file decodes.
QImage LoadJpegIntoBitmap(const std::string& path);

// True for a 640 x 447 picture.
bool IsLevelPictureSize(const QImage& bitmap);

}  // namespace tollwen
