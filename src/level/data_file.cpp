#include "level/data_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "level/errors.h"
#include "level/file_replacement.h"
#include "level/path_parts.h"
#include "level/posix_file.h"
#include "level/save_journal.h"

namespace tollwen {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

}  // namespace

bool DataFileExists(const std::string& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

int DataFileRefusal(int directory, const std::string& name) {
  return ::faccessat(directory, name.c_str(), R_OK | W_OK, AT_EACCESS) == 0 ? 0 : errno;
}

std::string ReadDataFile(const std::string& path, LevelGrid& grid, DataFileStamp* stamp) {
  const std::string name = FileNameOf(path);
  if (name.empty()) ThrowInOutError(EISDIR);
  const FileDescriptor directory = OpenDirectoryOf(path);
  const PathEntry entry = ReadPathEntry(directory.get(), name);
  FileDescriptor file = TryOpenRegularFileAt(directory.get(), name, O_RDONLY, FollowLinks::kYes);
  if (!file.IsOpen()) ThrowInOutError(errno);
  if (const int refusal = DataFileRefusal(directory.get(), name); refusal != 0) {
    ThrowInOutError(refusal);
  }

  // A save running meanwhile is waited for, so that the file is not read half written.
  LockFile(file.get(), LOCK_SH);
  if (HasJournal(directory.get(), file.get())) {
    // A save was interrupted, or another one failed to clean up: the file is opened for
    // writing (and locked against every other save and read) to put its old content back.
    FileDescriptor writable =
        TryOpenRegularFileAt(directory.get(), name, O_RDWR, FollowLinks::kYes);
    if (!writable.IsOpen()) ThrowInOutError(errno);
    file = FileDescriptor();
    LockFile(writable.get(), LOCK_EX);
    RecoverInterruptedSave(directory.get(), writable.get());
    file = std::move(writable);
  }

  DataFileParser parser;
  std::vector<char> buffer(16 * 1024);
  for (std::uint64_t offset = 0; !parser.Done();) {
    const std::size_t got = ReadSomeAt(file.get(), buffer.data(), buffer.size(), offset);
    if (got == 0) break;
    parser.Feed(std::string_view(buffer.data(), got));
    offset += got;
  }
  parser.Finish();
  if (const std::int64_t line = parser.TooLongLine(); line != 0)
    throw EditorError(TooLongLineMessage(line));
  if (stamp != nullptr) *stamp = StampOfOpenFile(file.get(), entry);
  if (const int err = file.Close(); err != 0) ThrowInOutError(err);

  grid = parser.Grid();
  return parser.MusicName();
}

DataFileStamp WriteDataFile(const std::string& path, const std::string& musicName,
                            const LevelGrid& grid, const std::function<void()>& eachRow,
                            const DataFileStamp* expected) {
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
  return ReplaceFileContent(
      path, lines,
      [&](std::size_t index) {
        if (index > 0 && eachRow) eachRow();
      },
      expected);
}

std::string DataPathFor(const std::string& picturePath) {
  const std::size_t kept = picturePath.size() >= 3 ? picturePath.size() - 3 : 0;
  return picturePath.substr(0, kept) + "dat";
}

}  // namespace tollwen
