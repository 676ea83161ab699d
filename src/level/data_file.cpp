#include "level/data_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "level/errors.h"
#include "level/file_replacement.h"
#include "level/line_reader.h"
#include "level/path_parts.h"
#include "level/posix_file.h"

namespace tollwen {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// Opens `path` for reading without blocking (opening a FIFO would otherwise wait for its other
// end) and refuses anything but a regular file.
FileDescriptor OpenRegularFile(const std::string& path) {
  FileDescriptor file = OpenFile(path, O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  RequireRegularFile(file.get());
  return file;
}

// Reads the next line of the data file into `line`, keeping at most `keep` characters and
// failing for a line longer than `limit`. A missing line (the file ended early) reads as an
// empty one.
void ReadDataLine(LineReader& reader, std::string& line, std::size_t keep, std::size_t limit) {
  if (reader.ReadLine(line, keep, limit) == LineReader::Result::kTooLong) {
    throw EditorError("Error: The music name in the data file is longer than " +
                      std::to_string(limit) + " bytes!");
  }
}

}  // namespace

std::string ReadDataFile(const std::string& path, LevelGrid& grid) {
  FileDescriptor file = OpenRegularFile(path);
  // A data file the editor could read but not save is refused up front, so that no edits are
  // made that cannot be kept. Asked without opening the file for writing, which programs that
  // watch the folder would take for a change.
  if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) ThrowInOutError(errno);

  LineReader reader(file.get());
  std::string musicName;
  ReadDataLine(reader, musicName, kMaxMusicLineLength, kMaxMusicLineLength);

  // Every row is filled up with '0' to its full width, so that a short line or a missing one
  // (a file that ends early) leaves no stale cells behind. Nothing after the last row is read.
  LevelGrid read;
  std::string line;
  for (int row = 1; row <= LevelGrid::kRows; ++row) {
    ReadDataLine(reader, line, LevelGrid::kColumns, std::numeric_limits<std::size_t>::max());
    for (int column = 1; column <= LevelGrid::kColumns; ++column) {
      const auto index = static_cast<std::size_t>(column - 1);
      read.SetCell(column, row, index < line.size() ? line[index] : kEmptyTile);
    }
  }
  if (const int err = file.Close(); err != 0) ThrowInOutError(err);

  grid = read;
  return musicName;
}

void WriteDataFile(const std::string& path, const std::string& musicName, const LevelGrid& grid,
                   const std::function<void()>& eachRow) {
  // A line break inside the name would push every row down one line in the saved file.
  if (musicName.find_first_of("\r\n") != std::string::npos) ThrowInOutError(EINVAL);
  // The path must name a file, and all of it: the system would take a path with an embedded
  // NUL to name the file of its first part.
  if (FileNameOf(path).empty() || path.find('\0') != std::string::npos) ThrowInOutError(EINVAL);

  std::vector<std::string> lines;
  lines.push_back(musicName + std::string(kLineEnd));
  for (int row = 1; row <= LevelGrid::kRows; ++row) {
    std::string& line = lines.emplace_back();
    for (int column = 1; column <= LevelGrid::kColumns; ++column) line += grid.CellAt(column, row);
    line += kLineEnd;
  }
  // The first line is the music name; each one after it is a row.
  ReplaceFileContent(path, lines, [&](std::size_t index) {
    if (index > 0 && eachRow) eachRow();
  });
}

std::string DataPathFor(const std::string& picturePath) {
  const std::size_t kept = picturePath.size() >= 3 ? picturePath.size() - 3 : 0;
  return picturePath.substr(0, kept) + "dat";
}

}  // namespace tollwen
