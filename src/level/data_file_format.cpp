#include "level/data_file_format.h"

#include <string_view>

namespace tollwen {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

}  // namespace

std::vector<std::string> DataFileLines(const std::string& musicName, const LevelGrid& grid) {
  std::vector<std::string> lines;
  lines.push_back(musicName + std::string(kLineEnd));
  for (int row = 1; row <= LevelGrid::kRows; ++row) {
    std::string& line = lines.emplace_back();
    for (int column = 1; column <= LevelGrid::kColumns; ++column) line += grid.CellAt(column, row);
    line += kLineEnd;
  }
  return lines;
}

std::string DataPathFor(const std::string& picturePath) {
  const std::size_t kept = picturePath.size() >= 3 ? picturePath.size() - 3 : 0;
  return picturePath.substr(0, kept) + "dat";
}

}  // namespace tollwen
