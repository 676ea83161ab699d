#include "memory_file.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>

namespace tollwen::fuzz {

MemoryFile::MemoryFile() : fd_(memfd_create("fuzz-input", 0)) {
  if (fd_ < 0) std::abort();
  path_ = "/proc/self/fd/" + std::to_string(fd_);
}

MemoryFile::~MemoryFile() { close(fd_); }

const std::string& MemoryFile::Write(const uint8_t* data, size_t size) {
  if (ftruncate(fd_, 0) != 0) std::abort();
  size_t done = 0;
  while (done < size) {
    ssize_t n = pwrite(fd_, data + done, size - done, static_cast<off_t>(done));
    if (n <= 0) std::abort();
    done += static_cast<size_t>(n);
  }
  return path_;
}

}  // namespace tollwen::fuzz
