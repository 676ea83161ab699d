#pragma once

#include <string>

namespace tollwen::testing {

// A row of every tile code and some empty cells.
inline const std::string kRow = "0123456789ABCDEF000";

// A data file in the editor's own form (CR LF line ends), with `row3` as row 3.
inline std::string DataFile(const std::string& row3 = kRow, const std::string& music = "tune.mod") {
  std::string file = music + "\r\n";
  for (int row = 1; row <= 13; ++row) file += (row == 3 ? row3 : kRow) + "\r\n";
  return file;
}

}  // namespace tollwen::testing
