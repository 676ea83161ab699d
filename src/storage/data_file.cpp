#include "storage/data_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "level/data_file_check.h"
#include "level/errors.h"
#include "level/path_parts.h"
#include "storage/file_replacement.h"
#include "storage/posix_file.h"
#include "storage/save_journal.h"

namespace tollwen {

bool DataFileExists(const std::string& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

int DataFileRefusal(int directory, const std::string& name) {
  return ::faccessat(directory, name.c_str(), R_OK | W_OK, AT_EACCESS) == 0 ? 0 : errno;
}

int DataFileRefusal(const std::string& path) { return DataFileRefusal(AT_FDCWD, path); }

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

  // A save of this user's running meanwhile is not read half written.
  std::optional<SaveLock> lock;
  lock.emplace(file.get(), SaveLock::Kind::kShared, false);
  if (HasJournal(file.get())) {
    // A save was interrupted, or another one failed to clean up: the file is opened for
    // writing (and locked against every other save and read) to put its old content back.
    FileDescriptor writable =
        TryOpenRegularFileAt(directory.get(), name, O_RDWR, FollowLinks::kYes);
    if (!writable.IsOpen()) ThrowInOutError(errno);
    lock.reset();
    lock.emplace(writable.get(), SaveLock::Kind::kExclusive, true);
    file = std::move(writable);
    RecoverInterruptedSave(file.get());
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

  const std::vector<std::string> lines = DataFileLines(musicName, grid);
  // The first line is the music name; each one after it is a row.
  return ReplaceFileContent(
      path, lines,
      [&](std::size_t index) {
        if (index > 0 && eachRow) eachRow();
      },
      expected);
}

DataFileScan ScanDataFile(const std::string& path) {
  const FileDescriptor directory = OpenDirectoryOf(path);
  const std::string name = FileNameOf(path);
  const FileDescriptor file =
      TryOpenRegularFileAt(directory.get(), name, O_RDONLY, FollowLinks::kYes);
  if (!file.IsOpen()) ThrowInOutError(errno);
  // A save of this user's running meanwhile is not read half written.
  const SaveLock lock(file.get(), SaveLock::Kind::kShared, false);

  DataFileScanner scanner;
  const InterruptedSave interrupted = FindInterruptedSave(file.get());
  const auto warn = [](DataFileScan& scan, const char* message) {
    scan.problems.push_back({DataFileProblem::Severity::kWarning, 0, 0, message, 0, 0});
  };
  if (interrupted.oldContent) {
    scanner.Feed(*interrupted.oldContent);
    DataFileScan scan = scanner.Finish();
    warn(scan,
         "a save that wrote this file in place was interrupted; the editor puts back the content "
         "from before that save, which is checked here");
    return scan;
  }
  std::vector<char> buffer(16 * 1024);
  while (!scanner.Done()) {
    const std::size_t got = ReadSome(file.get(), buffer.data(), buffer.size());
    if (got == 0) break;
    scanner.Feed(std::string_view(buffer.data(), got));
  }
  DataFileScan scan = scanner.Finish();
  if (interrupted.damagedJournal) {
    warn(scan,
         "the journal of a save that wrote this file in place is damaged; the editor ignores it "
         "and reads the file as it is");
  }
  return scan;
}

}  // namespace tollwen
