// Feeds arbitrary bytes to the BMP file reader as the asset loading uses it: the headers read
// first, then only as much of the rest as the pixels can use. It must decode or fail with an
// EditorError, and never read or write out of bounds.
#include <cstdint>
#include <cstdlib>

#include "display/bmp_reader.h"
#include "level/errors.h"
#include "memory_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static tollwen::fuzz::MemoryFile file;
  try {
    const QImage image = tollwen::ReadBmpFile(file.Write(data, size));
    if (!image.isNull() && image.format() != QImage::Format_RGB32) std::abort();
  } catch (const tollwen::EditorError&) {
  }
  return 0;
}
