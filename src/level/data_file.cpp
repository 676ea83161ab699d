#include "level/data_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "level/errors.h"
#include "level/line_reader.h"
#include "level/path_parts.h"
#include "level/posix_file.h"

namespace tollwen {

namespace {

// The music line is a file name, normally a few dozen bytes. A file whose first line is
// absurdly long is still read (through to its end, in bounded memory), but only this many
// of its bytes are kept as the music name.
constexpr std::size_t kMaxMusicNameLength = 4096;

constexpr std::string_view kLineEnd = "\r\n";

// Symbolic links followed before the save gives up, as the kernel does (ELOOP).
constexpr int kMaxSymlinkHops = 40;

// Longest name the temporary file's name keeps of the data file's name, so that the added
// prefix and suffix stay within the usual 255-byte limit of a file name.
constexpr std::size_t kMaxTempBaseLength = 200;

constexpr int kTempNameAttempts = 100;

// Opens `path` without blocking (opening a FIFO would otherwise wait for its other end) and
// refuses anything but a regular file.
FileDescriptor OpenRegularFile(const std::string& path, int access) {
  FileDescriptor file = OpenFile(path, access | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  RequireRegularFile(file.get());
  return file;
}

// Takes the result of a call whose failure is deliberately not an error.
void BestEffort(int /*result*/) {}

// The file a save must replace: `path` itself, or, when it is a symbolic link, the file the
// chain of links ends at (which need not exist yet). Replacing the link itself would turn it
// into a plain file and leave the linked file unchanged.
std::string ResolveSymlinks(std::string path) {
  for (int hops = 0;; ++hops) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
    if (hops == kMaxSymlinkHops) ThrowInOutError(ELOOP);
    std::string target = ReadSymlink(path);
    if (target.empty()) ThrowInOutError(ENOENT);
    path = target.front() == '/' ? std::move(target) : DirectoryOf(path) + target;
  }
}

// Cuts `name` to at most `length` bytes without splitting a UTF-8 sequence.
std::string CutName(const std::string& name, std::size_t length) {
  if (name.size() <= length) return name;
  while (length > 0 && (static_cast<unsigned char>(name[length]) & 0xC0) == 0x80) --length;
  return name.substr(0, length);
}

// Eight letters that make a temporary file's name unlikely to be taken; a name that is
// taken anyway is simply tried again with new letters.
std::string RandomSuffix() {
  static std::uint64_t counter = 0;
  std::uint64_t value =
      static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
      (static_cast<std::uint64_t>(::getpid()) << 32) ^ (++counter * 0x9E3779B97F4A7C15u);
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::string suffix;
  for (int i = 0; i < 8; ++i) {
    value ^= value >> 29;
    value *= 0xBF58476D1CE4E5B9u;
    suffix += kLetters[value % (sizeof(kLetters) - 1)];
  }
  return suffix;
}

// The new content of a data file while it is being written, beside the file it replaces.
// Unless Commit() moved it into place, the file is removed again when this goes out of scope.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::string& target) {
    const std::string stem =
        DirectoryOf(target) + "." + CutName(FileNameOf(target), kMaxTempBaseLength) + ".";
    for (int attempt = 0;; ++attempt) {
      std::string candidate = stem + RandomSuffix() + ".tmp";
      // Created like any new file (0666 less the umask); a replaced file's own permission
      // bits are put on later.
      file_ = TryOpenFile(candidate, O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0666);
      if (file_.IsOpen()) {
        path_ = std::move(candidate);
        return;
      }
      if (errno != EEXIST || attempt + 1 == kTempNameAttempts) ThrowInOutError(errno);
    }
  }

  ~TemporaryFile() {
    file_.Close();
    if (!committed_) ::unlink(path_.c_str());
  }

  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  int fd() const { return file_.get(); }

  // Gives the file the owner and permission bits of the file it replaces. The owner can only
  // be kept where the system allows it (as the superuser, or the group for one of its
  // members); otherwise the saved file belongs to whoever saved it, as a new file would.
  void TakeAttributesOf(const struct stat& original) {
    struct stat own {};
    if (::fstat(fd(), &own) != 0) ThrowInOutError(errno);
    // Each step is best effort: a file system without owners or permission bits (FAT) must
    // not keep the user from saving.
    if (own.st_uid != original.st_uid || own.st_gid != original.st_gid) {
      if (::fchown(fd(), original.st_uid, original.st_gid) != 0 && own.st_gid != original.st_gid)
        BestEffort(::fchown(fd(), static_cast<uid_t>(-1), original.st_gid));
    }
    // After fchown, which clears the set-user-ID and set-group-ID bits.
    BestEffort(::fchmod(fd(), original.st_mode & 07777));
  }

  // Makes the written content durable and moves it over `target`.
  void Commit(const std::string& target) {
    // EINVAL: the file system cannot sync at all; the content has still been written.
    if (::fsync(fd()) != 0 && errno != EINVAL) ThrowInOutError(errno);
    if (const int err = file_.Close(); err != 0) ThrowInOutError(err);
    if (::rename(path_.c_str(), target.c_str()) != 0) ThrowInOutError(errno);
    committed_ = true;
  }

 private:
  FileDescriptor file_;
  std::string path_;
  bool committed_ = false;
};

// Makes a completed rename durable. The new file is already in place and complete, so a
// failure here is not reported: the save itself has succeeded.
void SyncDirectoryOf(const std::string& path) {
  const std::string prefix = DirectoryOf(path);
  const char* directory = prefix.empty() ? "." : prefix.c_str();
  const int fd = ::open(directory, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  BestEffort(::fsync(fd));
  ::close(fd);
}

}  // namespace

std::string ReadDataFile(const std::string& path, LevelGrid& grid) {
  // Opened for writing as well as reading, so that a data file the editor could read but not
  // save is refused up front and no edits are made that cannot be kept. Nothing is created.
  FileDescriptor file = OpenRegularFile(path, O_RDWR);
  LineReader reader(file.get());
  std::string musicName;
  reader.ReadLine(musicName, kMaxMusicNameLength);

  // Every row is filled up with '0' to its full width, so that a short line or a missing one
  // (a file that ends early) leaves no stale cells behind.
  LevelGrid read;
  std::string line;
  for (int row = 1; row <= LevelGrid::kRows; ++row) {
    reader.ReadLine(line, LevelGrid::kColumns);
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

  const std::string target = ResolveSymlinks(path);

  // An existing file that may not be written is refused as it would be by writing it in
  // place, although the directory might allow replacing it. Opened without truncating, so
  // the old content stays untouched until the new one is complete.
  bool replacing = false;
  struct stat original {};
  if (const FileDescriptor existing =
          TryOpenFile(target, O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
      existing.IsOpen()) {
    RequireRegularFile(existing.get());
    if (::fstat(existing.get(), &original) != 0) ThrowInOutError(errno);
    replacing = true;
  } else if (errno != ENOENT) {
    ThrowInOutError(errno);
  }

  TemporaryFile temporary(target);
  if (replacing) temporary.TakeAttributesOf(original);

  std::string line = musicName;
  line += kLineEnd;
  WriteAll(temporary.fd(), line);
  for (int row = 1; row <= LevelGrid::kRows; ++row) {
    line.clear();
    for (int column = 1; column <= LevelGrid::kColumns; ++column) line += grid.CellAt(column, row);
    line += kLineEnd;
    WriteAll(temporary.fd(), line);
    if (eachRow) eachRow();
  }
  temporary.Commit(target);
  SyncDirectoryOf(target);
}

std::string DataPathFor(const std::string& picturePath) {
  const std::size_t kept = picturePath.size() >= 3 ? picturePath.size() - 3 : 0;
  return picturePath.substr(0, kept) + "dat";
}

}  // namespace tollwen
