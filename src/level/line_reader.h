#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tollwen {

// Reads a text file line by line in a bounded amount of memory. A line ends at LF; every CR is
// dropped, so CR LF ends a line like LF does and a CR on its own neither ends a line nor
// becomes part of one. Only a prefix of the caller's choosing is kept of each line, and a
// line longer than the caller's limit stops the reading as soon as the limit is passed.
class LineReader {
 public:
  explicit LineReader(int fd);

  enum class Result {
    kLine,     // a line was read (the last one may lack its LF)
    kEnd,      // the file has nothing left; `line` is empty
    kTooLong,  // the line holds more than `limit` bytes; reading stopped inside it
  };

  // Replaces `line` with the next line's first `keep` characters (the rest of the line, up to
  // `limit` bytes, is read and discarded). Throws InOutError when reading fails.
  Result ReadLine(std::string& line, std::size_t keep, std::size_t limit);

 private:
  // Refills the buffer; false at the end of the file.
  bool Fill();

  int fd_;
  std::vector<char> buffer_;
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  bool atEnd_ = false;
};

}  // namespace tollwen
