#include "storage/file_replacement.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string_view>
#include <utility>

#include "level/errors.h"
#include "level/path_parts.h"
#include "storage/in_place_save.h"
#include "storage/posix_file.h"
#include "storage/save_journal.h"

namespace tollwen {

namespace {

// Longest part of the file's name that the temporary file's name keeps, so that the added
// prefix and suffix stay within the usual 255-byte limit of a file name.
constexpr std::size_t kMaxTempBaseLength = 200;
constexpr int kTempNameAttempts = 100;
constexpr std::size_t kRandomLetterCount = 8;
constexpr std::string_view kTempMarker = ".tollwen-save-";
constexpr std::string_view kTempSuffix = ".tmp";
// Attempts at a save whose file was replaced by somebody else while it was being looked at.
constexpr int kSaveAttempts = 3;
constexpr std::string_view kRandomLetters = "abcdefghijklmnopqrstuvwxyz0123456789";

// A temporary file of ours this much older than its last write belongs to a save that was
// killed: no save takes that long.
constexpr std::time_t kStaleSeconds = 24 * 60 * 60;

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

// "." name ".tollwen-save-" letters ".tmp": hidden, and no user file's name by accident.
std::string TemporaryPrefixFor(const std::string& name) {
  return "." + CutName(name, kMaxTempBaseLength) + std::string(kTempMarker);
}

// True for a name that TemporaryNameFor gives a file named `name`.
bool IsTemporaryNameFor(std::string_view candidate, const std::string& name) {
  const std::string prefix = TemporaryPrefixFor(name);
  if (candidate.size() != prefix.size() + kRandomLetterCount + kTempSuffix.size() ||
      !candidate.starts_with(prefix) || !candidate.ends_with(kTempSuffix)) {
    return false;
  }
  const std::string_view letters = candidate.substr(prefix.size(), kRandomLetterCount);
  return std::all_of(letters.begin(), letters.end(), [](char letter) {
    return kRandomLetters.find(letter) != std::string_view::npos;
  });
}

// Removes our temporary files for the file `name` that a killed save left in `directory` more
// than a day ago: regular files of ours with such a name. Best effort throughout.
void RemoveStaleTemporaries(int directory, const std::string& name) {
  const int listing = ::fcntl(directory, F_DUPFD_CLOEXEC, 0);
  if (listing < 0) return;
  DIR* entries = ::fdopendir(listing);
  if (entries == nullptr) {  // a handle that may only name files cannot be listed
    ::close(listing);
    return;
  }
  const std::time_t now = std::time(nullptr);
  while (const dirent* entry = ::readdir(entries)) {
    if (!IsTemporaryNameFor(entry->d_name, name)) continue;
    struct stat status {};
    if (::fstatat(directory, entry->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (S_ISREG(status.st_mode) && status.st_uid == ::geteuid() &&
        now - status.st_mtime > kStaleSeconds) {
      BestEffort(::unlinkat(directory, entry->d_name, 0));
    }
  }
  ::closedir(entries);
}

// An error of a call that copies the owner, mode or attributes that means it may not be done
// here (another user's file, a file system without it), as opposed to one that went wrong.
bool IsRefusal(int err) {
  return err == EPERM || err == EACCES || err == ENOTSUP || err == EOPNOTSUPP || err == EINVAL;
}

// Throws InOutError for an error that went wrong; returns for a refusal.
void RequireRefusal(int err) {
  if (!IsRefusal(err)) ThrowInOutError(err);
}

// The names of the extended attributes of `fd`. A file system without extended attributes lists
// none. False when they may not be listed; throws InOutError when listing fails otherwise.
bool ListAttributes(int fd, std::vector<std::string>& names) {
  names.clear();
  std::string list;
  for (;;) {
    const ssize_t size = ::flistxattr(fd, nullptr, 0);
    if (size < 0) {
      if (errno == ENOTSUP) return true;
      RequireRefusal(errno);
      return false;
    }
    list.resize(static_cast<std::size_t>(size));
    const ssize_t listed = ::flistxattr(fd, list.data(), list.size());
    if (listed >= 0) {
      list.resize(static_cast<std::size_t>(listed));
      break;
    }
    if (errno != ERANGE) {  // ERANGE: the list grew meanwhile
      RequireRefusal(errno);
      return false;
    }
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
// list). False when any may not be copied or removed; throws InOutError when that fails
// otherwise.
bool CopyAttributes(int from, int to) {
  std::vector<std::string> wanted;
  std::vector<std::string> present;
  if (!ListAttributes(from, wanted) || !ListAttributes(to, present)) return false;
  for (const std::string& name : present) {
    if (std::find(wanted.begin(), wanted.end(), name) == wanted.end() &&
        ::fremovexattr(to, name.c_str()) != 0) {
      RequireRefusal(errno);
      return false;
    }
  }
  std::string value;
  for (const std::string& name : wanted) {
    const ssize_t size = ::fgetxattr(from, name.c_str(), nullptr, 0);
    if (size >= 0) value.resize(static_cast<std::size_t>(size));
    const ssize_t got =
        size < 0 ? size : ::fgetxattr(from, name.c_str(), value.data(), value.size());
    if (got < 0 ||
        ::fsetxattr(to, name.c_str(), value.data(), static_cast<std::size_t>(got), 0) != 0) {
      RequireRefusal(errno);
      return false;
    }
  }
  return true;
}

// Gives `to` the owner, group, extended attributes and permission bits of `from` (`original`).
// False when any of them may not be given exactly (another user's file, a group the user is not
// in, an attribute only the system may set, a file system without owners); the file is then
// written in place. Any other failure (a passing I/O error, say) fails the save: it must not
// quietly take another way.
bool CopyIdentity(int from, const struct stat& original, int to) {
  if (::fchown(to, original.st_uid, original.st_gid) != 0) {
    RequireRefusal(errno);
    return false;
  }
  if (!CopyAttributes(from, to)) return false;
  // After fchown, which clears the set-user-ID and set-group-ID bits.
  if (::fchmod(to, original.st_mode & 07777) != 0) {
    RequireRefusal(errno);
    return false;
  }
  struct stat copy {};
  if (::fstat(to, &copy) != 0) ThrowInOutError(errno);
  return copy.st_uid == original.st_uid && copy.st_gid == original.st_gid &&
         (copy.st_mode & 07777) == (original.st_mode & 07777);
}

// The stamp of the file `fd` just written with `content`. Taken after the save has succeeded,
// so it does not fail: without the file's identity and time the next save merely asks once too
// often.
DataFileStamp StampOfWritten(int fd, const std::string& content, const PathEntry& entry) {
  struct stat status {};
  if (::fstat(fd, &status) != 0) status = {};
  status.st_size = static_cast<off_t>(content.size());
  return StampOf(status, entry, ContentHash(content));
}

// How moving the new content into place went.
enum class Move { kDone, kTargetChanged };

// The new content while it is being written, beside the file it replaces, named relative to
// the directory handle. Unless it was moved into place, the file is removed again when this
// goes out of scope.
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
    // After an exchange the name holds the replaced file.
    if (!name_.empty() && (!moved_ || exchanged_)) ::unlinkat(directory_, name_.c_str(), 0);
  }

  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  bool IsOpen() const { return file_.IsOpen(); }
  int error() const { return error_; }
  int fd() const { return file_.get(); }

  // Makes the written content durable and returns its stamp.
  DataFileStamp Flush(const std::string& content) {
    DataFileStamp stamp;
    Sync([&] { stamp = StampOfWritten(fd(), content, PathEntry()); });
    return stamp;
  }

  // Makes the written content durable and closes the file; `beforeClose` runs in between.
  void Sync(const std::function<void()>& beforeClose = [] {}) {
    // EINVAL: the file system cannot sync at all; the content has still been written.
    const bool synced = ::fsync(fd()) == 0;
    if (!synced && errno != EINVAL) ThrowInOutError(errno);
    beforeClose();
    // After a successful fsync the content is on the disk, and a close error can only repeat a
    // write error that fsync would have reported; without one, close is the last word.
    if (const int err = file_.Close(); err != 0 && !synced) ThrowInOutError(err);
  }

  // Moves the content over `target`, which must be the file `replaced`: the two are exchanged
  // atomically and the file taken out is checked to be that one (and exchanged back when it is
  // not). Where the file system cannot exchange, the check comes right before the rename.
  Move Replace(const std::string& target, const FileIdentity& replaced) {
    if (::renameat2(directory_, name_.c_str(), directory_, target.c_str(), RENAME_EXCHANGE) == 0) {
      moved_ = true;
      exchanged_ = true;
      struct stat taken {};
      const bool looked = ::fstatat(directory_, name_.c_str(), &taken, AT_SYMLINK_NOFOLLOW) == 0;
      const int lookError = errno;
      if (looked && FileIdentity::Of(taken) == replaced) return Move::kDone;
      // Not the file compared (or it cannot be told): everything is put back as it was.
      if (::renameat2(directory_, name_.c_str(), directory_, target.c_str(), RENAME_EXCHANGE) != 0)
        ThrowInOutError(errno);
      moved_ = false;
      exchanged_ = false;
      if (!looked) ThrowInOutError(lookError);
      return Move::kTargetChanged;
    }
    if (errno != EINVAL && errno != ENOSYS) ThrowInOutError(errno);
    struct stat present {};
    if (::fstatat(directory_, target.c_str(), &present, AT_SYMLINK_NOFOLLOW) != 0)
      ThrowInOutError(errno);
    if (!(FileIdentity::Of(present) == replaced)) return Move::kTargetChanged;
    if (::renameat(directory_, name_.c_str(), directory_, target.c_str()) != 0)
      ThrowInOutError(errno);
    moved_ = true;
    return Move::kDone;
  }

  // Moves the content to `target`, whatever is there.
  void Overwrite(const std::string& target) {
    if (::renameat(directory_, name_.c_str(), directory_, target.c_str()) != 0)
      ThrowInOutError(errno);
    moved_ = true;
  }

  // Moves the content to `target`, where there must be no file.
  Move Create(const std::string& target) {
    if (::renameat2(directory_, name_.c_str(), directory_, target.c_str(), RENAME_NOREPLACE) == 0) {
      moved_ = true;
      return Move::kDone;
    }
    if (errno == EEXIST) return Move::kTargetChanged;
    if (errno != EINVAL && errno != ENOSYS) ThrowInOutError(errno);
    struct stat present {};
    if (::fstatat(directory_, target.c_str(), &present, AT_SYMLINK_NOFOLLOW) == 0)
      return Move::kTargetChanged;
    if (errno != ENOENT) ThrowInOutError(errno);
    if (::renameat(directory_, name_.c_str(), directory_, target.c_str()) != 0)
      ThrowInOutError(errno);
    moved_ = true;
    return Move::kDone;
  }

 private:
  int directory_;
  FileDescriptor file_;
  std::string name_;
  int error_ = 0;
  bool moved_ = false;
  bool exchanged_ = false;
};

void WritePieces(int fd, const std::vector<std::string>& pieces,
                 const std::function<void(std::size_t)>& afterPiece) {
  for (std::size_t index = 0; index < pieces.size(); ++index) {
    WriteAll(fd, pieces[index]);
    if (afterPiece) afterPiece(index);
  }
}

std::string Joined(const std::vector<std::string>& pieces) {
  std::string content;
  for (const std::string& piece : pieces) content += piece;
  return content;
}

// One attempt at a save, for the steps that look at what is at the path.
class Save {
 public:
  Save(const std::string& path, const std::vector<std::string>& pieces,
       const std::function<void(std::size_t)>& afterPiece, const DataFileStamp* expected)
      : path_(path),
        directory_(OpenDirectoryOf(path)),
        name_(FileNameOf(path)),
        pieces_(pieces),
        content_(Joined(pieces)),
        afterPiece_(afterPiece),
        expected_(expected) {
    RemoveStaleTemporaries(directory_.get(), name_);
  }

  // The stamp of what was written, or nothing when the path changed under the attempt before
  // anything was written (to be tried again).
  std::optional<DataFileStamp> Attempt() {
    const PathEntry entry = ReadPathEntry(directory_.get(), name_);
    if (entry.kind == PathEntry::Kind::kAbsent) return CreateNew();

    const bool link = entry.kind == PathEntry::Kind::kLink;
    FileDescriptor file = TryOpenRegularFileAt(directory_.get(), name_, O_RDWR,
                                               link ? FollowLinks::kYes : FollowLinks::kNo);
    if (!file.IsOpen()) {
      if (errno == ENOENT && link) return CreateThroughLink(entry);
      // The name became a link or went away between the look and the open.
      if ((errno == ELOOP && !link) || errno == ENOENT) return std::nullopt;
      ThrowInOutError(errno);
    }
    const SaveLock lock(file.get(), SaveLock::Kind::kExclusive, true);
    // Another save may have replaced the file since it was looked at.
    if (!StillLeadsTo(entry, file.get())) return std::nullopt;
    RecoverInterruptedSave(file.get());
    if (expected_ != nullptr && !(StampOfOpenFile(file.get(), entry) == *expected_))
      throw DataFileChangedError(path_);

    struct stat status {};
    if (::fstat(file.get(), &status) != 0) ThrowInOutError(errno);
    if (!link && status.st_nlink == 1) {
      if (std::optional<DataFileStamp> written = Replace(file.get(), status)) return written;
    }
    WriteInPlace(file.get(), pieces_, afterPiece_);
    // The descriptor is closed on the way out without looking at the result: the new content
    // has been flushed by a successful fsync, and a close error could only repeat a write error
    // that fsync reports first. Calling the save failed would tell the user the old level is
    // still there when the file holds the new one.
    return StampOfWritten(file.get(), content_, entry);
  }

 private:
  // True when the name is still `entry` and leads to the open file `fd`.
  bool StillLeadsTo(const PathEntry& entry, int fd) {
    if (!(ReadPathEntry(directory_.get(), name_) == entry)) return false;
    struct stat named {};
    struct stat opened {};
    if (::fstatat(directory_.get(), name_.c_str(), &named, 0) != 0 || ::fstat(fd, &opened) != 0)
      ThrowInOutError(errno);
    return FileIdentity::Of(named) == FileIdentity::Of(opened);
  }

  // No file at the path: one deleted since it was read is written anew; one that appears
  // meanwhile is not overwritten unasked.
  std::optional<DataFileStamp> CreateNew() {
    // Created like any other new file.
    TemporaryFile temporary(directory_.get(), name_, 0666);
    if (!temporary.IsOpen()) ThrowInOutError(temporary.error());
    WritePieces(temporary.fd(), pieces_, afterPiece_);
    const DataFileStamp stamp = temporary.Flush(content_);
    if (temporary.Create(name_) == Move::kTargetChanged) {
      if (expected_ != nullptr) throw DataFileChangedError(path_);
      return std::nullopt;
    }
    BestEffort(::fsync(directory_.get()));
    return stamp;
  }

  // A symbolic link to a file that does not exist (any more): the file is created where the
  // link points, when it is the link that was read (whose file was deleted since).
  std::optional<DataFileStamp> CreateThroughLink(const PathEntry& entry) {
    if (expected_ != nullptr && !(expected_->viaLink && expected_->link == entry.link &&
                                  expected_->linkTarget == entry.linkTarget)) {
      throw DataFileChangedError(path_);
    }
    // Not opened exclusively (a link cannot be), but without blocking and checked at once: a
    // FIFO put there meanwhile is refused before it is used. O_CREAT is not used on an existing
    // file: the kernel refuses it on another user's file in a shared sticky folder.
    FileDescriptor file = TryOpenFileAt(directory_.get(), name_,
                                        O_RDWR | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (!file.IsOpen()) ThrowInOutError(errno);
    RequireRegularFile(file.get());
    const SaveLock lock(file.get(), SaveLock::Kind::kExclusive, true);
    WriteInPlace(file.get(), pieces_, afterPiece_);
    return StampOfWritten(file.get(), content_, entry);
  }

  // Writes the content into a temporary file that takes the place of the file open as
  // `existing`. Returns nothing, having written nothing anywhere, when the replacement could
  // not keep what the file is: it is written in place then.
  std::optional<DataFileStamp> Replace(int existing, const struct stat& status) {
    // Private from the start: nobody may read the new content before it has the old file's
    // permissions.
    TemporaryFile temporary(directory_.get(), name_, 0600);
    if (!temporary.IsOpen()) {
      const int error = temporary.error();
      if (error == EACCES || error == EPERM || error == EROFS) return std::nullopt;
      ThrowInOutError(error);
    }
    if (!CopyIdentity(existing, status, temporary.fd())) return std::nullopt;
    WritePieces(temporary.fd(), pieces_, afterPiece_);
    const DataFileStamp stamp = temporary.Flush(content_);
    if (temporary.Replace(name_, FileIdentity::Of(status)) == Move::kTargetChanged)
      throw DataFileChangedError(path_);
    // Makes the rename durable. The new file is complete and in place, so a failure here is
    // not reported: the save itself has succeeded.
    BestEffort(::fsync(directory_.get()));
    return stamp;
  }

  const std::string& path_;
  FileDescriptor directory_;
  std::string name_;
  const std::vector<std::string>& pieces_;
  std::string content_;
  const std::function<void(std::size_t)>& afterPiece_;
  const DataFileStamp* expected_;
};

}  // namespace

void ReplaceWithNewFile(const std::string& path, std::string_view bytes) {
  std::string target = path;
  // Links are followed to the file they name (a chain of them, at most as far as the system
  // does).
  for (int hops = 0; hops < 40; ++hops) {
    struct stat status {};
    if (::lstat(target.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) break;
    const std::string link = ReadSymlink(target);
    target = link.starts_with('/') ? link : DirectoryOf(target) + link;
  }
  const FileDescriptor directory = OpenDirectoryOf(target);
  const std::string name = FileNameOf(target);
  if (name.empty()) ThrowInOutError(EISDIR);
  struct stat existing {};
  const bool replacing =
      ::fstatat(directory.get(), name.c_str(), &existing, AT_SYMLINK_NOFOLLOW) == 0 &&
      S_ISREG(existing.st_mode);
  TemporaryFile temporary(directory.get(), name, 0666);
  if (!temporary.IsOpen()) ThrowInOutError(temporary.error());
  if (replacing) BestEffort(::fchmod(temporary.fd(), existing.st_mode & 0777));
  WriteAll(temporary.fd(), bytes);
  temporary.Sync();
  temporary.Overwrite(name);
  BestEffort(::fsync(directory.get()));
}

std::string TemporaryNameFor(const std::string& name) {
  return TemporaryPrefixFor(name) + RandomLetters() + std::string(kTempSuffix);
}

DataFileStamp ReplaceFileContent(const std::string& path, const std::vector<std::string>& pieces,
                                 const std::function<void(std::size_t)>& afterPiece,
                                 const DataFileStamp* expected) {
  Save save(path, pieces, afterPiece, expected);
  for (int attempt = 0; attempt < kSaveAttempts; ++attempt) {
    if (std::optional<DataFileStamp> written = save.Attempt()) return *written;
  }
  // The file keeps being replaced by somebody else.
  throw DataFileChangedError(path);
}

}  // namespace tollwen
