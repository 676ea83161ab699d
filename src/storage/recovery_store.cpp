#include "storage/recovery_store.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QCryptographicHash>
#include <algorithm>
#include <cerrno>
#include <random>
#include <string_view>
#include <tuple>
#include <utility>

#include "level/data_file_format.h"
#include "level/data_file_parser.h"
#include "level/errors.h"
#include "storage/decimal.h"
#include "storage/state_folder.h"

namespace tollwen {

namespace {

// A record, version 2:
//   tollwen-level-editor recovery 2
//   saved-at <seconds>
//   picture <length>:<bytes>
//   data <length>:<bytes>
//   data-file <exists> <device> <inode> <size> <seconds> <nanoseconds> <hash> <via link>
//             <link device> <link inode>                       (one line: the data file's stamp;
//             <exists> is 0 for no file, 1 for a file and 2 for a file nothing is known of)
//   link-target <length>:<bytes>
//   level <length>:<bytes>  the music name and the grid as the data file holds them
//   sha256 <hex>            of everything before this line
// Every line ends with a single '\n'; numbers are plain decimals as std::to_string writes them.
// The level is written by the data file's writer and read back by its reader, so a restored
// level follows the same rules as one opened from its data file.
constexpr std::string_view kFormatLine = "tollwen-level-editor recovery 2\n";
constexpr std::string_view kChecksumLabel = "sha256 ";
constexpr std::size_t kChecksumDigits = 64;
constexpr unsigned kNoFile = 0;
constexpr unsigned kAFile = 1;
constexpr unsigned kNotKnown = 2;

// A record of the editor's earlier version, version 1, which is read and removed, never
// written:
//   tollwen-level-editor recovery 1
//   saved-at <seconds>
//   picture <length>:<bytes>
//   data <length>:<bytes>
//   music <length>:<bytes>
//   grid
//   <19 cells>          13 lines, each exactly 19 bytes and a newline
//   sha256 <hex>        of everything before this line
// It did not note the data file, whose stamp is therefore unknown. Its music name and grid are
// read as the lines of a data file, as version 2 reads its level: a byte that a data file
// cannot hold in a cell (a line break) makes it no record, every other byte stays as it is.
constexpr std::string_view kEarlierFormatLine = "tollwen-level-editor recovery 1\n";

// The largest record the editor writes: two paths and a link target of at most PATH_MAX bytes,
// the music line of a data file the editor reads, the rows and the labels (a record of the
// earlier version holds less). A file larger than this is none, and is skipped from its size
// alone, unread. Save refuses to write one.
constexpr std::size_t kMaxPathBytes = 4096;
constexpr std::size_t kMaxRecordBytes =
    3 * kMaxPathBytes + static_cast<std::size_t>(kMaxDataLineLength) + 4096;

// At start-up at most this many of the newest record files are read in search of one to offer.
constexpr std::size_t kMaxRecordsReadForNewest = 32;

// Record files: "level-<key>-<writer>.recovery", where the key is the first 128 bits of the
// SHA-256 of the picture path's bytes, and "new-level-<writer>.recovery". The earlier version's
// are "level-<key>.recovery" and "new-level.recovery".
constexpr std::string_view kRecordExtension = ".recovery";
constexpr std::string_view kPictureRecordPrefix = "level-";
constexpr std::string_view kNoPictureRecordStem = "new-level";
constexpr std::size_t kKeyDigits = 32;
constexpr std::size_t kWriterDigits = 16;

constexpr mode_t kRecordMode = 0600;

std::string Sha256Hex(std::string_view bytes) {
  const QByteArray data =
      QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
  return QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex().toStdString();
}

// The part of a record's name that every record of `picturePath` begins with, before the
// writer or the extension.
std::string RecordStem(const std::string& picturePath) {
  if (picturePath.empty()) return std::string(kNoPictureRecordStem);
  return std::string(kPictureRecordPrefix) + Sha256Hex(picturePath).substr(0, kKeyDigits);
}

bool IsHexDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

enum class RecordVersion { kEarlier, kCurrent };

// The version of the record that a file of this name holds; nothing for a name no record has.
std::optional<RecordVersion> VersionOfName(std::string_view name) {
  if (!name.ends_with(kRecordExtension)) return std::nullopt;
  name.remove_suffix(kRecordExtension.size());
  if (name.starts_with(kNoPictureRecordStem)) {
    name.remove_prefix(kNoPictureRecordStem.size());
  } else if (name.starts_with(kPictureRecordPrefix)) {
    name.remove_prefix(kPictureRecordPrefix.size());
    if (name.size() < kKeyDigits || !IsHexDigits(name.substr(0, kKeyDigits))) return std::nullopt;
    name.remove_prefix(kKeyDigits);
  } else {
    return std::nullopt;
  }
  if (name.empty()) return RecordVersion::kEarlier;
  if (name.size() == 1 + kWriterDigits && name[0] == '-' && IsHexDigits(name.substr(1)))
    return RecordVersion::kCurrent;
  return std::nullopt;
}

// The music name and the grid as the data file's lines.
std::string LevelText(const std::string& musicName, const LevelGrid& grid) {
  std::string text;
  for (const std::string& line : DataFileLines(musicName, grid)) text += line;
  return text;
}

void AppendField(std::string& text, std::string_view label, std::string_view bytes) {
  text.append(label).append(" ").append(std::to_string(bytes.size())).append(":");
  text.append(bytes).append("\n");
}

std::string StampLine(const DataFileStamp& stamp) {
  const unsigned exists = !stamp.known ? kNotKnown : stamp.exists ? kAFile : kNoFile;
  std::string line = "data-file";
  for (const std::string& number :
       {std::to_string(exists), std::to_string(stamp.file.device), std::to_string(stamp.file.inode),
        std::to_string(stamp.size), std::to_string(stamp.modifiedSeconds),
        std::to_string(stamp.modifiedNanoseconds), std::to_string(stamp.contentHash),
        std::to_string(stamp.viaLink), std::to_string(stamp.link.device),
        std::to_string(stamp.link.inode)}) {
    line += " " + number;
  }
  return line + "\n";
}

}  // namespace

std::string RecoveryRecordText(const RecoveredLevel& level) {
  std::string text(kFormatLine);
  text += "saved-at " + std::to_string(level.savedAt) + "\n";
  AppendField(text, "picture", level.picturePath);
  AppendField(text, "data", level.dataPath);
  text += StampLine(level.dataStamp);
  AppendField(text, "link-target", level.dataStamp.linkTarget);
  AppendField(text, "level", LevelText(level.musicName, level.grid));
  const std::string checksum = Sha256Hex(text);
  text.append(kChecksumLabel).append(checksum).append("\n");
  return text;
}

namespace {

// Reads a record's text front to back. Every step takes exactly what the writer writes, or
// fails.
class RecordReader {
 public:
  explicit RecordReader(std::string_view text) : text_(text), rest_(text) {}

  bool Literal(std::string_view expected) {
    if (!rest_.starts_with(expected)) return false;
    rest_.remove_prefix(expected.size());
    return true;
  }

  std::optional<std::string_view> Bytes(std::size_t count) {
    if (count > rest_.size()) return std::nullopt;
    const std::string_view bytes = rest_.substr(0, count);
    rest_.remove_prefix(count);
    return bytes;
  }

  // A number (see ParseDecimal), then `end`.
  template <typename Number>
  bool Take(char end, Number& value) {
    return TakeDecimal(rest_, end, value);
  }

  // "<label> <length>:<bytes>\n"
  std::optional<std::string> Field(std::string_view label) {
    std::size_t length = 0;
    if (!Literal(label) || !Literal(" ") || !Take(':', length)) return std::nullopt;
    const std::optional<std::string_view> bytes = Bytes(length);
    if (!bytes || !Literal("\n")) return std::nullopt;
    return std::string(*bytes);
  }

  bool Stamp(DataFileStamp& stamp) {
    unsigned exists = 0;
    unsigned viaLink = 0;
    if (!Literal("data-file ") || !Take(' ', exists) || !Take(' ', stamp.file.device) ||
        !Take(' ', stamp.file.inode) || !Take(' ', stamp.size) ||
        !Take(' ', stamp.modifiedSeconds) || !Take(' ', stamp.modifiedNanoseconds) ||
        !Take(' ', stamp.contentHash) || !Take(' ', viaLink) || !Take(' ', stamp.link.device) ||
        !Take('\n', stamp.link.inode) || exists > kNotKnown || viaLink > 1) {
      return false;
    }
    stamp.exists = exists == kAFile;
    stamp.known = exists != kNotKnown;
    stamp.viaLink = viaLink == 1;
    return true;
  }

  // The opening both versions' records share: their format line, then "saved-at <seconds>\n",
  // the picture's path and the data file's.
  bool Header(std::string_view formatLine, RecoveredLevel& level) {
    if (!Literal(formatLine) || !Literal("saved-at ") || !Take('\n', level.savedAt)) return false;
    std::optional<std::string> picture = Field("picture");
    std::optional<std::string> data = picture ? Field("data") : std::nullopt;
    if (!data) return false;
    level.picturePath = std::move(*picture);
    level.dataPath = std::move(*data);
    return true;
  }

  // "sha256 <hex>\n" of everything read so far, and nothing after it.
  bool Checksum() {
    const std::string expected = Sha256Hex(text_.substr(0, text_.size() - rest_.size()));
    if (!Literal(kChecksumLabel)) return false;
    const std::optional<std::string_view> checksum = Bytes(kChecksumDigits);
    return checksum && *checksum == expected && Literal("\n") && rest_.empty();
  }

 private:
  std::string_view text_;
  std::string_view rest_;
};

// The level in a record, read as the data file's reader reads a data file; nothing when it is
// not what the writer writes.
bool ReadLevel(const std::string& text, RecoveredLevel& level) {
  DataFileParser parser;
  parser.Feed(text);
  parser.Finish();
  if (parser.TooLongLine() != 0) return false;
  level.musicName = parser.MusicName();
  level.grid = parser.Grid();
  return LevelText(level.musicName, level.grid) == text;
}

}  // namespace

std::optional<RecoveredLevel> ParseRecoveryRecord(std::string_view text) {
  RecordReader reader(text);
  RecoveredLevel level;
  if (!reader.Header(kFormatLine, level) || !reader.Stamp(level.dataStamp)) return std::nullopt;
  std::optional<std::string> linkTarget = reader.Field("link-target");
  std::optional<std::string> levelText = linkTarget ? reader.Field("level") : std::nullopt;
  if (!levelText || !ReadLevel(*levelText, level)) return std::nullopt;
  level.dataStamp.linkTarget = std::move(*linkTarget);
  if (!reader.Checksum()) return std::nullopt;
  return level;
}

std::optional<RecoveredLevel> ParseEarlierRecoveryRecord(std::string_view text) {
  RecordReader reader(text);
  RecoveredLevel level;
  if (!reader.Header(kEarlierFormatLine, level)) return std::nullopt;
  std::optional<std::string> music = reader.Field("music");
  if (!music || !reader.Literal("grid\n")) return std::nullopt;
  LevelGrid grid;
  for (int row = 1; row <= LevelGrid::kRows; ++row) {
    const std::optional<std::string_view> cells = reader.Bytes(LevelGrid::kColumns);
    if (!cells || !reader.Literal("\n")) return std::nullopt;
    for (int column = 1; column <= LevelGrid::kColumns; ++column)
      grid.SetCell(column, row, (*cells)[static_cast<std::size_t>(column - 1)]);
  }
  if (!ReadLevel(LevelText(*music, grid), level) || !reader.Checksum()) return std::nullopt;
  level.dataStamp = DataFileStamp::Unknown();
  return level;
}

namespace {

bool OwnedByUs(const struct stat& status) { return status.st_uid == ::geteuid(); }

// A lock over the whole record file.
bool LockRecord(int fd, short type, int command = F_OFD_SETLK) {
  struct flock lock {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  int result;
  do {
    result = ::fcntl(fd, command, &lock);
  } while (result != 0 && errno == EINTR);
  if (command == F_OFD_GETLK) return result == 0 && lock.l_type == F_UNLCK;
  return result == 0;
}

// True when a running editor holds the record open as `fd`.
bool HeldByRunningEditor(int fd) { return !LockRecord(fd, F_RDLCK, F_OFD_GETLK); }

// The record file `name` opened with `access`, when it is a regular file of ours (links are not
// followed, and nothing that could block is opened) no larger than a record can be; with its size.
ReadableFile OpenRecordFile(int folder, const std::string& name, int access) {
  FileDescriptor file =
      TryOpenFileAt(folder, name, access | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  struct stat status {};
  if (!file.IsOpen() || ::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode) ||
      !OwnedByUs(status) || static_cast<std::uint64_t>(status.st_size) > kMaxRecordBytes) {
    return {};
  }
  return {std::move(file), static_cast<std::uint64_t>(status.st_size)};
}

// The record in the file `name` when it is a whole record of the version its name tells, its
// picture path is that name's, and no running editor holds it (unless held ones are asked for).
std::optional<RecoveredLevel> ReadRecord(int folder, const std::string& name,
                                         RecoveryStore::Held held = RecoveryStore::Held::kSkipped) {
  const std::optional<RecordVersion> version = VersionOfName(name);
  if (!version) return std::nullopt;
  const ReadableFile record = OpenRecordFile(folder, name, O_RDONLY);
  const int file = record.file.get();
  if (!record.file.IsOpen() ||
      (held == RecoveryStore::Held::kSkipped && HeldByRunningEditor(file))) {
    return std::nullopt;
  }
  // One byte more than the file had: a record that grew meanwhile reads as none.
  std::string text(record.size + 1, '\0');
  std::size_t got = 0;
  try {
    for (std::size_t count = 1; count != 0 && got < text.size(); got += count) {
      count = ReadSome(file, text.data() + got, text.size() - got);
    }
  } catch (const InOutError&) {
    return std::nullopt;
  }
  text.resize(got);
  std::optional<RecoveredLevel> level = *version == RecordVersion::kCurrent
                                            ? ParseRecoveryRecord(text)
                                            : ParseEarlierRecoveryRecord(text);
  if (!level || !name.starts_with(RecordStem(level->picturePath))) return std::nullopt;
  return level;
}

// A record file in the folder and when it was last written.
struct RecordFile {
  std::string name;
  std::int64_t writtenSeconds = 0;
  std::int64_t writtenNanoseconds = 0;
};

// The names in the folder that a record may have and that begin with `prefix`, newest first.
// Only their directory entries are looked at: nothing is opened.
std::vector<RecordFile> RecordFiles(int folder, std::string_view prefix) {
  std::vector<RecordFile> files;
  const int listed = ::dup(folder);
  if (listed < 0) return files;
  DIR* dir = ::fdopendir(listed);
  if (dir == nullptr) {
    ::close(listed);
    return files;
  }
  ::rewinddir(dir);
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    struct stat status {};
    if (!name.starts_with(prefix) || !VersionOfName(name) ||
        ::fstatat(folder, entry->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISREG(status.st_mode) || static_cast<std::uint64_t>(status.st_size) > kMaxRecordBytes) {
      continue;
    }
    files.push_back({std::string(name), status.st_mtim.tv_sec, status.st_mtim.tv_nsec});
  }
  ::closedir(dir);
  std::sort(files.begin(), files.end(), [](const RecordFile& a, const RecordFile& b) {
    return std::tie(b.writtenSeconds, b.writtenNanoseconds, b.name) <
           std::tie(a.writtenSeconds, a.writtenNanoseconds, a.name);
  });
  return files;
}

// Creates a new private temporary file beside the record `name`, which never takes the name of
// a record. Throws InOutError.
std::pair<std::string, FileDescriptor> CreateTemporary(int folder, const std::string& name) {
  static thread_local std::mt19937_64 random{std::random_device{}()};
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string temporary = name + ".tmp-" + std::to_string(random() % 1000000000);
    FileDescriptor file = TryOpenFileAt(
        folder, temporary, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kRecordMode);
    if (file.IsOpen()) return {temporary, std::move(file)};
    if (errno != EEXIST) ThrowInOutError(errno);
  }
  ThrowInOutError(EEXIST);
}

// Deletes the record `name` held (locked) as `locked`, when the name still leads to that file.
void Unlink(int folder, const std::string& name, int locked) {
  struct stat named {};
  struct stat held {};
  if (::fstatat(folder, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0) {
    if (errno == ENOENT) return;
    ThrowInOutError(errno);
  }
  if (::fstat(locked, &held) != 0) ThrowInOutError(errno);
  // Another editor renamed a newer record of its own over it meanwhile: that one stays.
  if (named.st_dev != held.st_dev || named.st_ino != held.st_ino) return;
  if (::unlinkat(folder, name.c_str(), 0) != 0 && errno != ENOENT) ThrowInOutError(errno);
  if (::fsync(folder) != 0) ThrowInOutError(errno);
}

}  // namespace

RecoveryStore::RecoveryStore(std::string folder) : folder_(std::move(folder)) {}

std::string RecoveryStore::DefaultFolder() { return StateFolder(); }

std::string RecoveryStore::RecordName(const std::string& picturePath, const std::string& writer) {
  return RecordStem(picturePath) + "-" + writer + std::string(kRecordExtension);
}

bool RecoveryStore::OfEarlierVersion(const std::string& name) {
  return VersionOfName(name) == RecordVersion::kEarlier;
}

std::string RecoveryStore::NewWriter() {
  static thread_local std::mt19937_64 random{std::random_device{}()};
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string writer;
  for (std::uint64_t bits = random(); writer.size() < kWriterDigits; bits >>= 4)
    writer += kDigits[bits & 15];
  return writer;
}

HeldRecord RecoveryStore::Save(const RecoveredLevel& level, const std::string& name) const {
  const std::string text = RecoveryRecordText(level);
  if (text.size() > kMaxRecordBytes) ThrowInOutError(ENAMETOOLONG);
  const FileDescriptor folder = OpenPrivateFolder(folder_);
  auto [temporary, file] = CreateTemporary(folder.get(), name);
  try {
    if (::fchmod(file.get(), kRecordMode) != 0) ThrowInOutError(errno);
    // Locked before it takes the record's name, so it is never seen unheld while this runs.
    if (!LockRecord(file.get(), F_WRLCK)) ThrowInOutError(errno);
    WriteAll(file.get(), text);
    if (::fsync(file.get()) != 0) ThrowInOutError(errno);
    if (::renameat(folder.get(), temporary.c_str(), folder.get(), name.c_str()) != 0) {
      ThrowInOutError(errno);
    }
  } catch (...) {
    ::unlinkat(folder.get(), temporary.c_str(), 0);
    throw;
  }
  // The rename itself reaches the disk only with the folder.
  if (::fsync(folder.get()) != 0) ThrowInOutError(errno);
  return HeldRecord(name, std::move(file));
}

std::vector<StoredRecord> RecoveryStore::LeftFor(const std::string& picturePath, Held held) const {
  std::vector<StoredRecord> records;
  const FileDescriptor folder = TryOpenPrivateFolder(folder_);
  if (!folder.IsOpen()) return records;
  for (RecordFile& file : RecordFiles(folder.get(), RecordStem(picturePath))) {
    std::optional<RecoveredLevel> level = ReadRecord(folder.get(), file.name, held);
    // Another path whose hash begins the same way has records of its own, not these.
    if (level && level->picturePath == picturePath)
      records.push_back({std::move(file.name), std::move(*level)});
  }
  return records;
}

std::optional<StoredRecord> RecoveryStore::Newest() const {
  const FileDescriptor folder = TryOpenPrivateFolder(folder_);
  if (!folder.IsOpen()) return std::nullopt;
  std::vector<RecordFile> files = RecordFiles(folder.get(), "");
  if (files.size() > kMaxRecordsReadForNewest) files.resize(kMaxRecordsReadForNewest);
  for (RecordFile& file : files) {
    if (std::optional<RecoveredLevel> level = ReadRecord(folder.get(), file.name))
      return StoredRecord{std::move(file.name), std::move(*level)};
  }
  return std::nullopt;
}

std::optional<HeldRecord> RecoveryStore::Hold(const std::string& name) const {
  const FileDescriptor folder = TryOpenPrivateFolder(folder_);
  if (!folder.IsOpen() || !VersionOfName(name)) return std::nullopt;
  FileDescriptor file = OpenRecordFile(folder.get(), name, O_RDWR).file;
  if (!file.IsOpen() || !LockRecord(file.get(), F_WRLCK)) return std::nullopt;
  return HeldRecord(name, std::move(file));
}

void RecoveryStore::Remove(const std::string& name) const {
  if (std::optional<HeldRecord> held = Hold(name)) Remove(std::move(*held));
}

void RecoveryStore::Remove(HeldRecord record) const {
  const FileDescriptor folder = TryOpenPrivateFolder(folder_);
  if (!folder.IsOpen()) return;
  Unlink(folder.get(), record.Name(), record.locked_.get());
}

}  // namespace tollwen
