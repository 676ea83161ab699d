#include "level/file_replacement.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <ctime>
#include <string_view>
#include <utility>

#include "level/path_parts.h"
#include "level/posix_file.h"

namespace tollwen {

namespace {

// Longest part of the file's name that the temporary file's name keeps, so that the added
// prefix and suffix stay within the usual 255-byte limit of a file name.
constexpr std::size_t kMaxTempBaseLength = 200;
constexpr int kTempNameAttempts = 100;
constexpr std::size_t kRandomLetterCount = 8;
constexpr std::string_view kTempSuffix = ".tmp";
constexpr std::string_view kRandomLetters = "abcdefghijklmnopqrstuvwxyz0123456789";

// A temporary file of ours this much older than its last write belongs to a save that was
// killed: no save takes that long.
constexpr std::time_t kStaleSeconds = 24 * 60 * 60;

// Takes the result of a call whose failure is deliberately not an error.
void BestEffort(long /*result*/) {}

// Cuts `name` to at most `length` bytes without splitting a UTF-8 sequence.
std::string CutName(const std::string& name, std::size_t length) {
  if (name.size() <= length) return name;
  while (length > 0 && (static_cast<unsigned char>(name[length]) & 0xC0) == 0x80) --length;
  return name.substr(0, length);
}

// Letters that make a temporary file's name unlikely to be taken; a name that is taken anyway
// is simply tried again with new letters.
std::string RandomLetters() {
  static std::uint64_t counter = 0;
  std::uint64_t value =
      static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
      (static_cast<std::uint64_t>(::getpid()) << 32) ^ (++counter * 0x9E3779B97F4A7C15u);
  std::string letters;
  for (std::size_t i = 0; i < kRandomLetterCount; ++i) {
    value ^= value >> 29;
    value *= 0xBF58476D1CE4E5B9u;
    letters += kRandomLetters[value % kRandomLetters.size()];
  }
  return letters;
}

// "." name "." letters ".tmp": hidden, and recognisable as ours afterwards.
std::string TemporaryNameFor(const std::string& name) {
  std::string temporary = ".";
  temporary.append(CutName(name, kMaxTempBaseLength));
  temporary.push_back('.');
  temporary.append(RandomLetters());
  temporary.append(kTempSuffix);
  return temporary;
}

// True for a name that TemporaryNameFor gives some file.
bool IsTemporaryName(std::string_view name) {
  const std::size_t tail = 1 + kRandomLetterCount + kTempSuffix.size();  // ".letters.tmp"
  if (name.size() < 2 + tail || name.front() != '.' || !name.ends_with(kTempSuffix)) return false;
  if (name[name.size() - tail] != '.') return false;
  const std::string_view letters = name.substr(name.size() - tail + 1, kRandomLetterCount);
  return std::all_of(letters.begin(), letters.end(), [](char letter) {
    return kRandomLetters.find(letter) != std::string_view::npos;
  });
}

// The directory that holds `path`. Every later step names files relative to this handle, so
// they all reach the same directory even if it is renamed meanwhile.
FileDescriptor OpenDirectoryOf(const std::string& path) {
  const std::string prefix = DirectoryOf(path);
  const std::string directory = prefix.empty() ? "." : prefix;
  FileDescriptor handle = TryOpenFile(directory, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  // A directory that may be searched but not listed still gives a handle for naming files.
  if (!handle.IsOpen() && errno == EACCES)
    handle = TryOpenFile(directory, O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (!handle.IsOpen()) ThrowInOutError(errno);
  return handle;
}

// Removes our temporary files that a killed save left in `directory` more than a day ago:
// regular files of ours with a temporary file's name. Best effort throughout.
void RemoveStaleTemporaries(int directory) {
  const int listing = ::fcntl(directory, F_DUPFD_CLOEXEC, 0);
  if (listing < 0) return;
  DIR* entries = ::fdopendir(listing);
  if (entries == nullptr) {  // a handle that may only name files cannot be listed
    ::close(listing);
    return;
  }
  const std::time_t now = std::time(nullptr);
  while (const dirent* entry = ::readdir(entries)) {
    if (!IsTemporaryName(entry->d_name)) continue;
    struct stat status {};
    if (::fstatat(directory, entry->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (S_ISREG(status.st_mode) && status.st_uid == ::geteuid() &&
        now - status.st_mtime > kStaleSeconds) {
      BestEffort(::unlinkat(directory, entry->d_name, 0));
    }
  }
  ::closedir(entries);
}

// The names of the extended attributes of `fd`; false when they cannot be listed. A file
// system without extended attributes lists none.
bool ListAttributes(int fd, std::vector<std::string>& names) {
  names.clear();
  std::string list;
  for (;;) {
    const ssize_t size = ::flistxattr(fd, nullptr, 0);
    if (size < 0) return errno == ENOTSUP;
    list.resize(static_cast<std::size_t>(size));
    const ssize_t listed = ::flistxattr(fd, list.data(), list.size());
    if (listed >= 0) {
      list.resize(static_cast<std::size_t>(listed));
      break;
    }
    if (errno != ERANGE) return false;  // ERANGE: the list grew meanwhile
  }
  for (std::size_t at = 0; at < list.size();) {
    const std::size_t end = std::min(list.find('\0', at), list.size());
    names.push_back(list.substr(at, end - at));
    at = end + 1;
  }
  return true;
}

// Makes the extended attributes of `to` (access-control lists among them) those of `from`,
// including removing any `to` was given on creation (a directory's default access-control
// list). False when any cannot be copied or removed.
bool CopyAttributes(int from, int to) {
  std::vector<std::string> wanted;
  std::vector<std::string> present;
  if (!ListAttributes(from, wanted) || !ListAttributes(to, present)) return false;
  for (const std::string& name : present) {
    if (std::find(wanted.begin(), wanted.end(), name) == wanted.end() &&
        ::fremovexattr(to, name.c_str()) != 0) {
      return false;
    }
  }
  std::string value;
  for (const std::string& name : wanted) {
    const ssize_t size = ::fgetxattr(from, name.c_str(), nullptr, 0);
    if (size < 0) return false;
    value.resize(static_cast<std::size_t>(size));
    const ssize_t got = ::fgetxattr(from, name.c_str(), value.data(), value.size());
    if (got < 0 ||
        ::fsetxattr(to, name.c_str(), value.data(), static_cast<std::size_t>(got), 0) != 0)
      return false;
  }
  return true;
}

// Gives `to` the owner, group, extended attributes and permission bits of `from`. False when
// any of them cannot be given exactly (another user's file, a group the user is not in, an
// attribute only the system may set, a file system without owners).
bool CopyIdentity(int from, int to) {
  struct stat original {};
  if (::fstat(from, &original) != 0) return false;
  if (::fchown(to, original.st_uid, original.st_gid) != 0) return false;
  if (!CopyAttributes(from, to)) return false;
  // After fchown, which clears the set-user-ID and set-group-ID bits.
  if (::fchmod(to, original.st_mode & 07777) != 0) return false;
  struct stat copy {};
  return ::fstat(to, &copy) == 0 && copy.st_uid == original.st_uid &&
         copy.st_gid == original.st_gid && (copy.st_mode & 07777) == (original.st_mode & 07777);
}

// The new content while it is being written, beside the file it replaces, named relative to
// the directory handle. Unless Commit() moved it into place, the file is removed again when
// this goes out of scope.
class TemporaryFile {
 public:
  // Creates the file exclusively with `mode` (less the umask). IsOpen() tells whether that
  // worked, error() why not.
  TemporaryFile(int directory, const std::string& name, mode_t mode) : directory_(directory) {
    for (int attempt = 0; attempt < kTempNameAttempts; ++attempt) {
      std::string candidate = TemporaryNameFor(name);
      file_ = TryOpenFileAt(directory, candidate,
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, mode);
      if (file_.IsOpen()) {
        name_ = std::move(candidate);
        return;
      }
      error_ = errno;
      if (error_ != EEXIST) return;
    }
  }

  ~TemporaryFile() {
    file_.Close();
    if (!name_.empty() && !committed_) ::unlinkat(directory_, name_.c_str(), 0);
  }

  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  bool IsOpen() const { return file_.IsOpen(); }
  int error() const { return error_; }
  int fd() const { return file_.get(); }

  // Makes the written content durable and moves it over `target` in the same directory.
  void Commit(const std::string& target) {
    // EINVAL: the file system cannot sync at all; the content has still been written.
    if (::fsync(fd()) != 0 && errno != EINVAL) ThrowInOutError(errno);
    if (const int err = file_.Close(); err != 0) ThrowInOutError(err);
    if (::renameat(directory_, name_.c_str(), directory_, target.c_str()) != 0)
      ThrowInOutError(errno);
    committed_ = true;
  }

 private:
  int directory_;
  FileDescriptor file_;
  std::string name_;
  int error_ = 0;
  bool committed_ = false;
};

void WritePieces(int fd, const std::vector<std::string>& pieces,
                 const std::function<void(std::size_t)>& afterPiece) {
  for (std::size_t index = 0; index < pieces.size(); ++index) {
    WriteAll(fd, pieces[index]);
    if (afterPiece) afterPiece(index);
  }
}

// Writes the content into a temporary file that takes the place of `name` once complete.
// Returns false, having written nothing anywhere, when the replacement could not keep what the
// existing file (`existing`, not open for a new file) is: the caller writes in place instead.
bool WriteByReplacing(int directory, const std::string& name, const FileDescriptor& existing,
                      const std::vector<std::string>& pieces,
                      const std::function<void(std::size_t)>& afterPiece) {
  // Private from the start: nobody may read the new content before it has the old file's
  // permissions. A new file is created like any other.
  TemporaryFile temporary(directory, name, existing.IsOpen() ? 0600 : 0666);
  if (!temporary.IsOpen()) {
    const int error = temporary.error();
    if (existing.IsOpen() && (error == EACCES || error == EPERM)) return false;
    ThrowInOutError(error);
  }
  if (existing.IsOpen() && !CopyIdentity(existing.get(), temporary.fd())) return false;
  WritePieces(temporary.fd(), pieces, afterPiece);
  temporary.Commit(name);
  // Makes the rename durable. The new file is complete and in place, so a failure here is not
  // reported: the save itself has succeeded.
  BestEffort(::fsync(directory));
  return true;
}

// Reads up to `size` bytes from the start of `fd`; fewer when the file is shorter.
std::string ReadStart(int fd, std::size_t size) {
  std::string content(size, '\0');
  if (::lseek(fd, 0, SEEK_SET) != 0) ThrowInOutError(errno);
  std::size_t filled = 0;
  while (filled < size) {
    const std::size_t got = ReadSome(fd, content.data() + filled, size - filled);
    if (got == 0) break;
    filled += got;
  }
  content.resize(filled);
  return content;
}

// Puts back what WriteInPlace overwrote; best effort, as the write has already failed.
void PutBack(int fd, const std::string& kept, off_t oldSize) {
  try {
    if (::lseek(fd, 0, SEEK_SET) == 0) WriteAll(fd, kept);
  } catch (const std::exception&) {
  }
  BestEffort(::ftruncate(fd, oldSize));
  BestEffort(::fsync(fd));
}

// Writes the content over the file that `path` names, following symbolic links the way the
// kernel does (its protections for links in shared sticky directories apply). The part of the
// old content that the new one overwrites is kept first and put back when the write fails;
// what lies past it is only cut off once all of the new content is written.
void WriteInPlace(const std::string& path, const std::vector<std::string>& pieces,
                  const std::function<void(std::size_t)>& afterPiece) {
  // Created only for a symbolic link to a file that does not exist yet: the kernel refuses
  // O_CREAT on another user's file in a shared sticky folder, although it may be written.
  constexpr int kFlags = O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC;
  FileDescriptor file = TryOpenFile(path, kFlags);
  if (!file.IsOpen() && errno == ENOENT) file = TryOpenFile(path, kFlags | O_CREAT, 0666);
  if (!file.IsOpen()) ThrowInOutError(errno);
  RequireRegularFile(file.get());
  struct stat status {};
  if (::fstat(file.get(), &status) != 0) ThrowInOutError(errno);
  std::size_t total = 0;
  for (const std::string& piece : pieces) total += piece.size();
  const std::string kept =
      ReadStart(file.get(), std::min<std::size_t>(total, static_cast<std::size_t>(status.st_size)));
  try {
    if (::lseek(file.get(), 0, SEEK_SET) != 0) ThrowInOutError(errno);
    WritePieces(file.get(), pieces, afterPiece);
    if (::ftruncate(file.get(), static_cast<off_t>(total)) != 0) ThrowInOutError(errno);
    if (::fsync(file.get()) != 0 && errno != EINVAL) ThrowInOutError(errno);
  } catch (...) {
    PutBack(file.get(), kept, status.st_size);
    throw;
  }
  if (const int err = file.Close(); err != 0) ThrowInOutError(err);
}

}  // namespace

void ReplaceFileContent(const std::string& path, const std::vector<std::string>& pieces,
                        const std::function<void(std::size_t)>& afterPiece) {
  const FileDescriptor directory = OpenDirectoryOf(path);
  const std::string name = FileNameOf(path);
  RemoveStaleTemporaries(directory.get());

  struct stat status {};
  if (::fstatat(directory.get(), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
    if (errno != ENOENT) ThrowInOutError(errno);
    WriteByReplacing(directory.get(), name, FileDescriptor(), pieces, afterPiece);
    return;
  }
  if (S_ISLNK(status.st_mode)) return WriteInPlace(path, pieces, afterPiece);
  if (S_ISDIR(status.st_mode)) ThrowInOutError(EISDIR);
  if (!S_ISREG(status.st_mode)) ThrowInOutError(EACCES);
  // A file that may not be written is refused as writing it in place would be, although the
  // directory might allow replacing it.
  if (::faccessat(directory.get(), name.c_str(), W_OK, AT_EACCESS | AT_SYMLINK_NOFOLLOW) != 0)
    ThrowInOutError(errno);
  if (status.st_nlink == 1) {
    const FileDescriptor existing = TryOpenFileAt(
        directory.get(), name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (existing.IsOpen() && WriteByReplacing(directory.get(), name, existing, pieces, afterPiece))
      return;
  }
  WriteInPlace(path, pieces, afterPiece);
}

}  // namespace tollwen
