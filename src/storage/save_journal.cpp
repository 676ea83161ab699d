#include "storage/save_journal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "level/data_file_parser.h"
#include "level/errors.h"
#include "storage/decimal.h"
#include "storage/state_folder.h"

namespace tollwen {

namespace {

constexpr std::string_view kMagic = "tollwen-level-editor save journal 1\n";
constexpr std::string_view kLockFileName = "saves.lock";
constexpr mode_t kPrivateMode = 0600;
// Where in the lock file the bytes standing for data files lie: far more than any file system
// has devices and inodes to tell apart by a hash, and within what fcntl takes.
constexpr std::uint64_t kLockBytes = std::uint64_t{1} << 40;

std::string JournalName(const FileIdentity& file) {
  return std::to_string(file.device) + "-" + std::to_string(file.inode) + ".journal";
}

FileIdentity IdentityOf(int fd) {
  struct stat status {};
  if (::fstat(fd, &status) != 0) ThrowInOutError(errno);
  return FileIdentity::Of(status);
}

// The user's state folder as it is, created nowhere; not open when there is none or it is not
// the user's own.
FileDescriptor ExistingStateFolder() {
  const std::string state = StateFolder();
  return state.empty() ? FileDescriptor() : TryOpenPrivateFolder(state);
}

// The state folder, created when missing (private to the user).
FileDescriptor CreatedStateFolder() {
  const std::string state = StateFolder();
  if (state.empty()) {
    throw EditorError(Message(QT_TRANSLATE_NOOP(
        "tollwen::Message",
        "Error: The data file must be written in place, and there is no folder to keep its old "
        "content in meanwhile (neither XDG_STATE_HOME nor HOME is set)!")));
  }
  try {
    return OpenPrivateFolder(state);
  } catch (const InOutError& error) {
    throw EditorError(Message(QT_TRANSLATE_NOOP("tollwen::Message",
                                                "Error: Cannot create %1 to keep the data file's "
                                                "old content in while it is written in place: %2"),
                              {Message::Verbatim(state), error.message()}));
  }
}

// This user's journal in the folder `folder` named `name`: its bytes when it is a regular file of
// the user's no larger than a journal can be. Nothing when there is none; an empty text for one
// that cannot be a journal.
std::optional<std::string> ReadJournalFile(int folder, const std::string& name) {
  const FileDescriptor file = TryOpenRegularFileAt(folder, name, O_RDONLY, FollowLinks::kNo);
  if (!file.IsOpen()) {
    if (errno == ENOENT) return std::nullopt;
    return std::string();
  }
  struct stat status {};
  if (::fstat(file.get(), &status) != 0 || status.st_uid != ::geteuid() ||
      static_cast<std::uint64_t>(status.st_size) > 2 * MaxJournalledBytes() + 4096) {
    return std::string();
  }
  return ReadWhole(file.get());
}

// Creates the journal file `name` in `folder`, replacing one left behind (the caller holds
// the save lock, so no save is writing it).
FileDescriptor CreateJournalFile(int folder, const std::string& name) {
  constexpr int kFlags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC;
  FileDescriptor file = TryOpenFileAt(folder, name, kFlags, kPrivateMode);
  if (!file.IsOpen() && errno == EEXIST && ::unlinkat(folder, name.c_str(), 0) == 0)
    file = TryOpenFileAt(folder, name, kFlags, kPrivateMode);
  return file;
}

// The content of `file` when it is no larger than the larger of the journal's two contents;
// nothing when it is larger (then it cannot be half written).
std::optional<std::string> ComparableContent(int file, const SaveJournal& journal) {
  struct stat status {};
  if (::fstat(file, &status) != 0) ThrowInOutError(errno);
  const std::size_t largest = std::max(journal.oldContent.size(), journal.newContent.size());
  if (static_cast<std::uint64_t>(status.st_size) > largest) return std::nullopt;
  return ReadWhole(file);
}

// This user's journal of `file` in the state folder `folder`, read and decoded.
struct FoundJournal {
  bool present = false;
  std::optional<SaveJournal> journal;  // nothing when it is damaged or for another file
};

FoundJournal JournalOf(int folder, int file) {
  const FileIdentity identity = IdentityOf(file);
  const std::optional<std::string> bytes = ReadJournalFile(folder, JournalName(identity));
  FoundJournal found{bytes.has_value(), bytes ? DecodeJournal(*bytes) : std::nullopt};
  if (found.journal && !(found.journal->file == identity)) found.journal.reset();
  return found;
}

// True when the journal's save stopped halfway through `file`.
bool StoppedHalfway(int file, const SaveJournal& journal) {
  const std::optional<std::string> current = ComparableContent(file, journal);
  return current && IsHalfWritten(journal, BirthOf(file), *current);
}

}  // namespace

std::uint64_t MaxJournalledBytes() {
  return static_cast<std::uint64_t>(kLastRowLine * (kMaxDataLineLength + 2));
}

void PutBackContent(int fd, std::string_view content) {
  WriteAllAt(fd, content, 0);
  if (::ftruncate(fd, static_cast<off_t>(content.size())) != 0) ThrowInOutError(errno);
  if (::fsync(fd) != 0 && errno != EINVAL) ThrowInOutError(errno);
}

FileBirth BirthOf(int fd) {
  struct statx status {};
  if (::statx(fd, "", AT_EMPTY_PATH, STATX_BTIME, &status) != 0 ||
      (status.stx_mask & STATX_BTIME) == 0) {
    return {};
  }
  return {status.stx_btime.tv_sec, status.stx_btime.tv_nsec};
}

std::string EncodeJournal(const SaveJournal& journal) {
  std::string text(kMagic);
  for (const std::string& number :
       {std::to_string(journal.file.device), std::to_string(journal.file.inode),
        std::to_string(journal.birth.seconds), std::to_string(journal.birth.nanoseconds),
        std::to_string(journal.oldContent.size()), std::to_string(journal.newContent.size())}) {
    text += number + ' ';
  }
  text += std::to_string(ContentHash(journal.oldContent + journal.newContent)) + '\n';
  return text + journal.oldContent + journal.newContent;
}

std::optional<SaveJournal> DecodeJournal(std::string_view bytes) {
  if (!bytes.starts_with(kMagic)) return std::nullopt;
  bytes.remove_prefix(kMagic.size());
  SaveJournal journal;
  std::uint64_t oldSize = 0;
  std::uint64_t newSize = 0;
  std::uint64_t hash = 0;
  if (!TakeDecimal(bytes, ' ', journal.file.device) ||
      !TakeDecimal(bytes, ' ', journal.file.inode) ||
      !TakeDecimal(bytes, ' ', journal.birth.seconds) ||
      !TakeDecimal(bytes, ' ', journal.birth.nanoseconds) || journal.birth.nanoseconds < 0 ||
      !TakeDecimal(bytes, ' ', oldSize) || !TakeDecimal(bytes, ' ', newSize) ||
      !TakeDecimal(bytes, '\n', hash)) {
    return std::nullopt;
  }
  // Each size on its own is bounded, so their sum cannot wrap around.
  if (oldSize > MaxJournalledBytes() || newSize > MaxJournalledBytes() ||
      bytes.size() != oldSize + newSize || ContentHash(bytes) != hash) {
    return std::nullopt;
  }
  journal.oldContent = std::string(bytes.substr(0, oldSize));
  journal.newContent = std::string(bytes.substr(oldSize));
  return journal;
}

bool IsHalfWritten(const SaveJournal& journal, FileBirth birth, std::string_view current) {
  if (!(journal.birth == birth)) return false;
  const std::string_view before = journal.oldContent;
  const std::string_view after = journal.newContent;
  if (current == before || current == after) return false;
  if (current.size() < std::min(before.size(), after.size()) ||
      current.size() > std::max(before.size(), after.size())) {
    return false;
  }
  for (std::size_t i = 0; i < current.size(); ++i) {
    const char byte = current[i];
    const bool old = i < before.size() && byte == before[i];
    const bool written = i < after.size() && byte == after[i];
    const bool grown = i >= before.size() && byte == '\0';
    if (!old && !written && !grown) return false;
  }
  return true;
}

JournalFile WriteJournal(const SaveJournal& journal) {
  JournalFile written{CreatedStateFolder(), JournalName(journal.file)};
  const int folder = written.folder.get();
  FileDescriptor created = CreateJournalFile(folder, written.name);
  if (!created.IsOpen()) ThrowInOutError(errno);
  try {
    WriteAll(created.get(), EncodeJournal(journal));
    if (::fsync(created.get()) != 0 && errno != EINVAL) ThrowInOutError(errno);
    // The journal's name must be on the disk before the data file is touched.
    if (::fsync(folder) != 0 && errno != EINVAL) ThrowInOutError(errno);
  } catch (...) {
    // A journal that could not be written whole goes again: the save fails before it touches
    // the data file.
    BestEffort(::unlinkat(folder, written.name.c_str(), 0));
    throw;
  }
  return written;
}

void RemoveJournal(const JournalFile& journal) {
  if (::unlinkat(journal.folder.get(), journal.name.c_str(), 0) == 0)
    BestEffort(::fsync(journal.folder.get()));
}

bool HasJournal(int file) {
  const FileDescriptor folder = ExistingStateFolder();
  struct stat status {};
  return folder.IsOpen() && ::fstatat(folder.get(), JournalName(IdentityOf(file)).c_str(), &status,
                                      AT_SYMLINK_NOFOLLOW) == 0;
}

void RecoverInterruptedSave(int file) {
  FileDescriptor folder = ExistingStateFolder();
  if (!folder.IsOpen()) return;
  const FoundJournal found = JournalOf(folder.get(), file);
  if (!found.present) return;
  if (found.journal && StoppedHalfway(file, *found.journal))
    PutBackContent(file, found.journal->oldContent);
  // An incomplete journal belongs to a save that stopped before it wrote to the data file, and
  // one for another file (a file since replaced) is of no use: both go. Only a regular file is
  // removed; anything else in its place is left alone.
  struct stat status {};
  const std::string name = JournalName(IdentityOf(file));
  if (::fstatat(folder.get(), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 &&
      S_ISREG(status.st_mode) && status.st_uid == ::geteuid()) {
    RemoveJournal({std::move(folder), name});
  }
}

InterruptedSave FindInterruptedSave(int file) {
  InterruptedSave found;
  const FileDescriptor folder = ExistingStateFolder();
  if (!folder.IsOpen()) return found;
  FoundJournal journal = JournalOf(folder.get(), file);
  found.damagedJournal = journal.present && !journal.journal;
  if (journal.journal && StoppedHalfway(file, *journal.journal))
    found.oldContent = std::move(journal.journal->oldContent);
  return found;
}

SaveLock::SaveLock(int file, Kind kind, bool create) {
  FileDescriptor folder = ExistingStateFolder();
  if (!folder.IsOpen() && create) {
    try {
      if (const std::string state = StateFolder(); !state.empty())
        folder = OpenPrivateFolder(state);
    } catch (const InOutError&) {
      // Another user's folder in its place, say: the file is used unlocked.
    }
  }
  if (!folder.IsOpen()) return;
  const int flags =
      O_RDWR | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK | O_CLOEXEC | (create ? O_CREAT : 0);
  lockFile_ = TryOpenFileAt(folder.get(), std::string(kLockFileName), flags, kPrivateMode);
  struct stat status {};
  if (!lockFile_.IsOpen() || ::fstat(lockFile_.get(), &status) != 0 || !S_ISREG(status.st_mode) ||
      status.st_uid != ::geteuid()) {
    lockFile_ = FileDescriptor();
    return;
  }
  const FileIdentity identity = IdentityOf(file);
  struct flock lock {};
  lock.l_type = kind == Kind::kExclusive ? F_WRLCK : F_RDLCK;
  lock.l_whence = SEEK_SET;
  lock.l_start = static_cast<off_t>(ContentHash(JournalName(identity)) % kLockBytes);
  lock.l_len = 1;
  // Open-file-description locks: held by this lock's own descriptor, so that two saves in one
  // process exclude each other as two processes do. Only the user's own saves and reads of the
  // same file hold it, each for a few milliseconds: it is waited for that long at most.
  constexpr int kAttempts = 100;
  constexpr useconds_t kPause = 10'000;
  int error = 0;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    if (::fcntl(lockFile_.get(), F_OFD_SETLK, &lock) == 0) return;
    error = errno;
    if (error == EINTR) continue;
    if (error != EAGAIN && error != EACCES) break;
    ::usleep(kPause);
  }
  lockFile_ = FileDescriptor();
  if (error == EAGAIN || error == EACCES)
    throw EditorError(Message(QT_TRANSLATE_NOOP(
        "tollwen::Message", "Error: Another program is saving the data file; try again later!")));
  // A file system without locks is used unlocked.
  if (error != ENOLCK && error != EOPNOTSUPP && error != EINVAL) ThrowInOutError(error);
}

}  // namespace tollwen
