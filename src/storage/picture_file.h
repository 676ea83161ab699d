#pragma once

#include <QImage>
#include <QSize>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "level/byte_source.h"

namespace tollwen {

// Opens the file at `path` for the picture and bitmap readers when it is a regular file. It is
// opened without blocking, so a FIFO cannot hang the caller waiting for a writer. Anything that
// cannot be opened or is not a regular file (a directory, FIFO, device; a path with an embedded
// NUL, which would name another file to the system) fails with FileOpenError,
// "Cannot open file <path>".
std::unique_ptr<ByteSource> OpenFileBytes(const std::string& path);

// DecodeJpeg and DecodeLevelPicture (level/level_picture.h) of the file at `path`; a file that
// cannot be opened throws FileOpenError.
QImage LoadJpegIntoBitmap(const std::string& path);
std::optional<QImage> LoadLevelPicture(const std::string& path, QSize* size = nullptr,
                                       std::vector<std::string>* warnings = nullptr);

}  // namespace tollwen
