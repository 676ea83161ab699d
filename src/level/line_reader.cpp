#include "level/line_reader.h"

#include <cstring>

#include "level/posix_file.h"

namespace tollwen {

namespace {

constexpr std::size_t kBufferSize = 64 * 1024;

}  // namespace

LineReader::LineReader(int fd) : fd_(fd), buffer_(kBufferSize) {}

bool LineReader::Fill() {
  if (atEnd_) return false;
  begin_ = 0;
  end_ = ReadSome(fd_, buffer_.data(), buffer_.size());
  if (end_ == 0) atEnd_ = true;
  return end_ > 0;
}

bool LineReader::ReadLine(std::string& line, std::size_t keep) {
  line.clear();
  bool readAny = false;
  for (;;) {
    if (begin_ == end_ && !Fill()) return readAny;
    readAny = true;
    const char* start = buffer_.data() + begin_;
    const std::size_t available = end_ - begin_;
    const auto* newline = static_cast<const char*>(std::memchr(start, '\n', available));
    const std::size_t length =
        newline != nullptr ? static_cast<std::size_t>(newline - start) : available;
    // Copy only while the kept prefix is short; past it the bytes are merely skipped.
    for (std::size_t i = 0; i < length && line.size() < keep; ++i) {
      if (start[i] != '\r') line.push_back(start[i]);
    }
    if (newline != nullptr) {
      begin_ += length + 1;
      return true;
    }
    begin_ = end_;
  }
}

}  // namespace tollwen
