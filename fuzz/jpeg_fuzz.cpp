// Feeds arbitrary bytes to the level picture loader as opening a level uses it: it must decode,
// refuse the size or fail with an EditorError; a decoded picture is always an opaque 32-bit
// 640 x 447 image.
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "level/errors.h"
#include "level/level_picture.h"
#include "memory_file.h"
#include "storage/picture_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static tollwen::fuzz::MemoryFile file;
  try {
    const std::optional<QImage> image = tollwen::LoadLevelPicture(file.Write(data, size));
    if (image && (image->format() != QImage::Format_RGB32 || !tollwen::IsLevelPictureSize(*image)))
      std::abort();
  } catch (const tollwen::EditorError&) {
  }
  return 0;
}
