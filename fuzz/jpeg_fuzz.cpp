// Feeds arbitrary bytes to the level picture loader: it must decode or fail with an
// EditorError; a decoded picture is always an opaque 32-bit image.
#include <cstdint>
#include <cstdlib>

#include "level/errors.h"
#include "level/level_picture.h"
#include "memory_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static tollwen::fuzz::MemoryFile file;
  try {
    QImage image = tollwen::LoadJpegIntoBitmap(file.Write(data, size));
    if (image.format() != QImage::Format_RGB32) std::abort();
  } catch (const tollwen::EditorError&) {
  }
  return 0;
}
