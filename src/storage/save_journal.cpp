#include "storage/save_journal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <sstream>
#include <system_error>
#include <vector>

#include "level/errors.h"
#include "storage/state_folder.h"

namespace tollwen {

namespace {

constexpr std::string_view kMagic = "tollwen-level-editor save journal 1\n";
// A journal holds two copies of a data file that is at most this large (see WriteInPlace).
constexpr std::uint64_t kMaxJournalBytes = std::uint64_t{64} << 20;

std::string IdentityText(const FileIdentity& file) {
  return std::to_string(file.device) + "-" + std::to_string(file.inode);
}

std::string BesideName(const FileIdentity& file) {
  return ".tollwen-save-" + IdentityText(file) + ".journal";
}

std::string StateName(const FileIdentity& file) { return IdentityText(file) + ".journal"; }

FileIdentity IdentityOf(int fd) {
  struct stat status {};
  if (::fstat(fd, &status) != 0) ThrowInOutError(errno);
  return FileIdentity::Of(status);
}

// The journal named `name` in `directory`, when there is one: its bytes (nothing for anything
// but a regular file).
std::optional<std::string> ReadJournalFile(int directory, const std::string& name) {
  const FileDescriptor file = TryOpenRegularFileAt(directory, name, O_RDONLY, FollowLinks::kNo);
  if (!file.IsOpen()) {
    if (errno == ENOENT || errno == EACCES || errno == ELOOP) return std::nullopt;
    ThrowInOutError(errno);
  }
  struct stat status {};
  if (::fstat(file.get(), &status) != 0) ThrowInOutError(errno);
  if (static_cast<std::uint64_t>(status.st_size) > kMaxJournalBytes) return std::string();
  return ReadWhole(file.get());
}

// The journals there may be for a file: beside it, then in the state directory.
std::vector<JournalFile> JournalPlaces(int directory, const FileIdentity& file) {
  std::vector<JournalFile> places;
  places.push_back({FileDescriptor(::fcntl(directory, F_DUPFD_CLOEXEC, 0)), BesideName(file)});
  if (const std::string state = StateFolder(); !state.empty()) {
    FileDescriptor handle = TryOpenFile(state, O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (handle.IsOpen()) places.push_back({std::move(handle), StateName(file)});
  }
  return places;
}

// Creates the journal file `name` in `directory`, replacing one left behind (the caller holds
// the data file's lock, so no save is writing it).
FileDescriptor CreateJournalFile(int directory, const std::string& name, mode_t mode) {
  constexpr int kFlags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC;
  FileDescriptor file = TryOpenFileAt(directory, name, kFlags, mode);
  if (!file.IsOpen() && errno == EEXIST && ::unlinkat(directory, name.c_str(), 0) == 0)
    file = TryOpenFileAt(directory, name, kFlags, mode);
  return file;
}

// The state directory, created when missing (private to the user).
FileDescriptor OpenStateFolder() {
  const std::string state = StateFolder();
  if (state.empty()) {
    throw EditorError(
        "Error: The data file must be written in place, and there is no folder to keep its "
        "old content in meanwhile (neither XDG_STATE_HOME nor HOME is set)!");
  }
  try {
    return OpenPrivateFolder(state);
  } catch (const InOutError& error) {
    throw EditorError(
        "Error: Cannot create " + state +
        " to keep the data file's old content in while it is written in place: " + error.what());
  }
}

// Writes the journal file `name` in `directory` and makes it durable; a journal that could not
// be written whole is removed again (the save fails before it touches the data file).
void WriteDurably(const FileDescriptor& file, int directory, const std::string& name,
                  std::string_view bytes) {
  try {
    WriteAll(file.get(), bytes);
    if (::fsync(file.get()) != 0 && errno != EINVAL) ThrowInOutError(errno);
    // The journal's name must be on the disk before the data file is touched.
    if (::fsync(directory) != 0 && errno != EINVAL && errno != EBADF) ThrowInOutError(errno);
  } catch (...) {
    BestEffort(::unlinkat(directory, name.c_str(), 0));
    throw;
  }
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

// The journal named `name` in `directory` when it is complete and for `file`.
std::optional<SaveJournal> JournalFor(int file, const JournalFile& place) {
  const std::optional<std::string> bytes = ReadJournalFile(place.directory.get(), place.name);
  if (!bytes) return std::nullopt;
  std::optional<SaveJournal> journal = DecodeJournal(*bytes);
  if (!journal || !(journal->file == IdentityOf(file))) return std::nullopt;
  return journal;
}

// True when the journal's save stopped halfway through `file`.
bool StoppedHalfway(int file, const SaveJournal& journal) {
  const std::optional<std::string> current = ComparableContent(file, journal);
  return current && IsHalfWritten(journal, BirthOf(file), *current);
}

}  // namespace

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
  std::ostringstream header;
  header << kMagic << journal.file.device << ' ' << journal.file.inode << ' '
         << journal.birth.seconds << ' ' << journal.birth.nanoseconds << ' '
         << journal.oldContent.size() << ' ' << journal.newContent.size() << ' '
         << ContentHash(journal.oldContent + journal.newContent) << '\n';
  return header.str() + journal.oldContent + journal.newContent;
}

std::optional<SaveJournal> DecodeJournal(std::string_view bytes) {
  if (!bytes.starts_with(kMagic)) return std::nullopt;
  bytes.remove_prefix(kMagic.size());
  const std::size_t lineEnd = bytes.find('\n');
  if (lineEnd == std::string_view::npos) return std::nullopt;
  std::istringstream header(std::string(bytes.substr(0, lineEnd)));
  SaveJournal journal;
  std::uint64_t oldSize = 0;
  std::uint64_t newSize = 0;
  std::uint64_t hash = 0;
  header >> journal.file.device >> journal.file.inode >> journal.birth.seconds >>
      journal.birth.nanoseconds >> oldSize >> newSize >> hash;
  if (!header || !(header >> std::ws).eof()) return std::nullopt;
  bytes.remove_prefix(lineEnd + 1);
  if (bytes.size() != oldSize + newSize || ContentHash(bytes) != hash) return std::nullopt;
  journal.oldContent = std::string(bytes.substr(0, oldSize));
  journal.newContent = std::string(bytes.substr(oldSize));
  return journal;
}

bool IsHalfWritten(const SaveJournal& journal, FileBirth birth, std::string_view current) {
  if (journal.birth.Known() && birth.Known() && !(journal.birth == birth)) return false;
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

JournalFile WriteJournal(int directory, int file, const SaveJournal& journal) {
  struct stat status {};
  if (::fstat(file, &status) != 0) ThrowInOutError(errno);
  const mode_t mode = (status.st_mode & 0644) | 0600;
  const std::string bytes = EncodeJournal(journal);

  JournalFile beside{FileDescriptor(::fcntl(directory, F_DUPFD_CLOEXEC, 0)),
                     BesideName(journal.file)};
  if (!beside.directory.IsOpen()) ThrowInOutError(errno);
  FileDescriptor written = CreateJournalFile(directory, beside.name, mode);
  if (written.IsOpen()) {
    WriteDurably(written, directory, beside.name, bytes);
    return beside;
  }
  if (errno != EACCES && errno != EPERM && errno != EROFS) ThrowInOutError(errno);

  JournalFile state{OpenStateFolder(), StateName(journal.file)};
  written = CreateJournalFile(state.directory.get(), state.name, mode);
  if (!written.IsOpen()) ThrowInOutError(errno);
  WriteDurably(written, state.directory.get(), state.name, bytes);
  return state;
}

void RemoveJournal(const JournalFile& journal) {
  if (::unlinkat(journal.directory.get(), journal.name.c_str(), 0) == 0)
    BestEffort(::fsync(journal.directory.get()));
}

bool HasJournal(int directory, int file) {
  for (const JournalFile& place : JournalPlaces(directory, IdentityOf(file))) {
    struct stat status {};
    if (::fstatat(place.directory.get(), place.name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0)
      return true;
  }
  return false;
}

void RecoverInterruptedSave(int directory, int file) {
  for (const JournalFile& place : JournalPlaces(directory, IdentityOf(file))) {
    struct stat status {};
    if (::fstatat(place.directory.get(), place.name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0)
      continue;
    // An incomplete journal belongs to a save that stopped before it wrote to the data file,
    // and one for another file (a file since replaced) is of no use: both are removed.
    if (const std::optional<SaveJournal> journal = JournalFor(file, place);
        journal && StoppedHalfway(file, *journal)) {
      PutBackContent(file, journal->oldContent);
    }
    RemoveJournal(place);
  }
}

std::optional<std::string> ContentBeforeInterruptedSave(int directory, int file) {
  for (const JournalFile& place : JournalPlaces(directory, IdentityOf(file))) {
    if (std::optional<SaveJournal> journal = JournalFor(file, place);
        journal && StoppedHalfway(file, *journal)) {
      return std::move(journal->oldContent);
    }
  }
  return std::nullopt;
}

}  // namespace tollwen
