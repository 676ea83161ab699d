#pragma once

#include <cstddef>
#include <cstdint>

namespace tollwen {

// Bytes the picture and bitmap readers take in a block at a time, from a file the storage code
// opened. The readers never learn where they come from.
class ByteSource {
 public:
  virtual ~ByteSource() = default;

  // The size when the source was opened.
  virtual std::uint64_t Size() const = 0;

  // Copies up to `size` bytes from `offset` into `buffer` and returns how many; 0 at the end.
  // When reading fails it returns 0 and sets `error` to the operating system's error number.
  // Never throws: the JPEG decoder calls it from inside libjpeg.
  virtual std::size_t ReadAt(std::uint64_t offset, void* buffer, std::size_t size,
                             int& error) noexcept = 0;
};

}  // namespace tollwen
