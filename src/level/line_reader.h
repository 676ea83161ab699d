#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tollwen {

// Reads a text file line by line in a fixed amount of memory. A line ends at LF; every CR is
// dropped, so CR LF ends a line like LF does and a CR on its own neither ends a line nor
// becomes part of one. Lines of any length are read through; only a prefix of the caller's
// choosing is kept.
class LineReader {
 public:
  explicit LineReader(int fd);

  // Replaces `line` with the next line's first `keep` characters (the rest of the line is
  // read and discarded). Returns false, leaving `line` empty, when the file has nothing
  // left. Throws InOutError when reading fails.
  bool ReadLine(std::string& line, std::size_t keep);

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
