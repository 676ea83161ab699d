#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tollwen::fuzz {

// A file that lives in memory (memfd) and can be opened by path, for readers that take a path.
class MemoryFile {
 public:
  MemoryFile();
  ~MemoryFile();
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;

  // Replaces the content and returns a path that opens it.
  const std::string& Write(const uint8_t* data, size_t size);

 private:
  int fd_;
  std::string path_;
};

}  // namespace tollwen::fuzz
