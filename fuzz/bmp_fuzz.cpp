// Feeds arbitrary bytes to the BMP decoder: it must decode or fail with an EditorError, and
// never read or write out of bounds (the sanitizers watch that).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "display/bmp_reader.h"
#include "level/errors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    QImage image = tollwen::DecodeBmp(std::span(reinterpret_cast<const std::byte*>(data), size));
    if (!image.isNull() && image.format() != QImage::Format_RGB32) std::abort();
  } catch (const tollwen::EditorError&) {
  }
  return 0;
}
