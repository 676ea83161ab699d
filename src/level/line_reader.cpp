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

LineReader::Result LineReader::ReadLine(std::string& line, std::size_t keep, std::size_t limit) {
  line.clear();
  bool readAny = false;
  std::size_t length = 0;  // bytes of the line so far, CRs included
  for (;;) {
    if (begin_ == end_ && !Fill()) return readAny ? Result::kLine : Result::kEnd;
    readAny = true;
    const char* start = buffer_.data() + begin_;
    const std::size_t available = end_ - begin_;
    const auto* newline = static_cast<const char*>(std::memchr(start, '\n', available));
    const std::size_t piece =
        newline != nullptr ? static_cast<std::size_t>(newline - start) : available;
    length += piece;
    if (length > limit) return Result::kTooLong;
    // Copy only while the kept prefix is short; past it the bytes are merely skipped.
    for (std::size_t i = 0; i < piece && line.size() < keep; ++i) {
      if (start[i] != '\r') line.push_back(start[i]);
    }
    if (newline != nullptr) {
      begin_ += piece + 1;
      return Result::kLine;
    }
    begin_ = end_;
  }
}

}  // namespace tollwen
