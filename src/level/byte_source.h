#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace tollwen {

// Bytes the picture and bitmap readers take in a block at a time: an open file (the storage
// code opens them) or bytes already in memory. The readers never learn where they come from.
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

// Bytes in memory, for the fuzz targets and the tests.
class MemoryBytes final : public ByteSource {
 public:
  explicit MemoryBytes(std::span<const std::byte> bytes) : bytes_(bytes) {}

  std::uint64_t Size() const override { return bytes_.size(); }
  std::size_t ReadAt(std::uint64_t offset, void* buffer, std::size_t size,
                     int& /*error*/) noexcept override {
    if (offset >= bytes_.size()) return 0;
    const auto count =
        std::min<std::size_t>(size, bytes_.size() - static_cast<std::size_t>(offset));
    std::memcpy(buffer, bytes_.data() + offset, count);
    return count;
  }

 private:
  std::span<const std::byte> bytes_;
};

}  // namespace tollwen
