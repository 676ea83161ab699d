#include "display/bmp_reader.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <vector>

#include "display/bmp_layout.h"
#include "display/bmp_pixels.h"
#include "level/errors.h"
#include "storage/picture_file.h"

namespace tollwen {

namespace {

// Appends up to `count` bytes read from `file` to `buffer`; stops early only at the end of the
// file. A read failure means the file cannot be read at all.
void ReadInto(ByteSource& file, std::vector<std::byte>& buffer, std::uint64_t count,
              const std::string& path) {
  const std::size_t start = buffer.size();
  buffer.resize(start + static_cast<std::size_t>(count));
  std::size_t filled = start;
  while (filled < buffer.size()) {
    int error = 0;
    const std::size_t got =
        file.ReadAt(filled, buffer.data() + filled, buffer.size() - filled, error);
    if (error != 0) throw FileOpenError(path);
    if (got == 0) break;
    filled += got;
  }
  buffer.resize(filled);
}

// Decodes the pixels of a file whose headers gave `layout`; `data` is the file from its start.
QImage Decode(const bmp::BmpLayout& layout, std::span<const std::byte> data) {
  QImage image(layout.width, layout.height, QImage::Format_RGB32);
  if (image.isNull()) throw OutOfMemoryError();
  image.fill(Qt::black);  // what the pixel data does not reach stays black
  const auto pixels = layout.pixelOffset < data.size() ? data.subspan(layout.pixelOffset)
                                                       : std::span<const std::byte>();
  if (layout.encoding == bmp::PixelEncoding::kRle8 || layout.encoding == bmp::PixelEncoding::kRle4)
    bmp::DecodeRle(layout, pixels, image);
  else
    bmp::DecodeUncompressed(layout, pixels, image);
  return image;
}

}  // namespace

QImage ReadBmpFile(const std::string& path) {
  const std::unique_ptr<ByteSource> file = OpenFileBytes(path);
  try {
    // The headers first, then only as much of the rest as the pixels can use.
    std::vector<std::byte> buffer;
    ReadInto(*file, buffer, bmp::kMaxHeadersSize, path);
    if (buffer.size() < bmp::kMaxHeadersSize) return DecodeBmp(buffer);  // the whole file

    const auto fileSize = std::max<std::uint64_t>(file->Size(), buffer.size());
    const bmp::BmpLayout layout = bmp::ParseBmpLayout(buffer, fileSize);
    const std::uint64_t wanted = bmp::UsefulFileBytes(layout, fileSize);
    if (wanted > buffer.size()) ReadInto(*file, buffer, wanted - buffer.size(), path);
    return Decode(layout, buffer);
  } catch (const std::bad_alloc&) {
    throw OutOfMemoryError();
  }
}

QImage DecodeBmp(std::span<const std::byte> data) {
  if (data.empty()) return QImage();
  try {
    return Decode(bmp::ParseBmpLayout(data, data.size()), data);
  } catch (const std::bad_alloc&) {
    throw OutOfMemoryError();
  }
}

}  // namespace tollwen
