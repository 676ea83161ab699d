#include "storage/recovery_store.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QCryptographicHash>
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <random>
#include <string_view>
#include <utility>
#include <vector>

#include "level/errors.h"
#include "level/path_parts.h"
#include "storage/posix_file.h"
#include "storage/state_folder.h"

namespace tollwen {

namespace {

// A record, version 1:
//   tollwen-level-editor recovery 1
//   saved-at <seconds>
//   picture <length>:<bytes>
//   data <length>:<bytes>
//   music <length>:<bytes>
//   grid
//   <19 cells>          13 lines, each exactly 19 bytes (any values) and a newline
//   sha256 <hex>        of everything before this line
// Every line ends with a single '\n'; numbers are plain decimals as std::to_string writes them.
constexpr std::string_view kFormatLine = "tollwen-level-editor recovery 1\n";
constexpr std::string_view kChecksumLabel = "sha256 ";
constexpr std::size_t kChecksumDigits = 64;

// A record with ordinary paths is a few hundred bytes: a file larger than this is none, and is
// refused from its size alone. Save refuses to write one.
constexpr std::size_t kMaxRecordBytes = std::size_t{1} << 20;

// Record files: "level-<hash>.recovery" for a picture path, where the hash is the first 128 bits
// of the SHA-256 of the path's bytes, and one name for the level that has no picture.
constexpr std::string_view kRecordExtension = ".recovery";
constexpr std::string_view kNoPictureRecord = "new-level.recovery";
constexpr std::size_t kKeyDigits = 32;

constexpr mode_t kRecordMode = 0600;

std::string Sha256Hex(std::string_view bytes) {
  const QByteArray data =
      QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
  return QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex().toStdString();
}

std::string RecordName(const std::string& picturePath) {
  if (picturePath.empty()) return std::string(kNoPictureRecord);
  return "level-" + Sha256Hex(picturePath).substr(0, kKeyDigits) + std::string(kRecordExtension);
}

void AppendField(std::string& text, std::string_view label, std::string_view bytes) {
  text.append(label).append(" ").append(std::to_string(bytes.size())).append(":");
  text.append(bytes).append("\n");
}

std::string RecordText(const RecoveredLevel& level) {
  std::string text(kFormatLine);
  text += "saved-at " + std::to_string(level.savedAt) + "\n";
  AppendField(text, "picture", level.picturePath);
  AppendField(text, "data", level.dataPath);
  AppendField(text, "music", level.musicName);
  text += "grid\n";
  for (int row = 1; row <= LevelGrid::kRows; ++row) {
    for (int column = 1; column <= LevelGrid::kColumns; ++column) {
      text += level.grid.CellAt(column, row);
    }
    text += '\n';
  }
  const std::string checksum = Sha256Hex(text);
  text.append(kChecksumLabel).append(checksum).append("\n");
  return text;
}

// Reads a record's text front to back. Every step takes exactly what the writer writes, or
// fails and leaves the reader where it was.
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

  // A decimal number as std::to_string writes it (no sign but '-', no leading zeros), then
  // `end`.
  std::optional<std::int64_t> Number(char end) {
    const std::size_t stop = rest_.substr(0, 21).find(end);
    if (stop == std::string_view::npos) return std::nullopt;
    const std::string_view digits = rest_.substr(0, stop);
    std::int64_t value = 0;
    const auto [last, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || last != digits.data() + digits.size() ||
        std::to_string(value) != digits) {
      return std::nullopt;
    }
    rest_.remove_prefix(stop + 1);
    return value;
  }

  // "<label> <length>:<bytes>\n"
  std::optional<std::string> Field(std::string_view label) {
    if (!Literal(label) || !Literal(" ")) return std::nullopt;
    const std::optional<std::int64_t> length = Number(':');
    if (!length || *length < 0) return std::nullopt;
    const std::optional<std::string_view> bytes = Bytes(static_cast<std::size_t>(*length));
    if (!bytes || !Literal("\n")) return std::nullopt;
    return std::string(*bytes);
  }

  // Everything read so far.
  std::string_view Read() const { return text_.substr(0, text_.size() - rest_.size()); }
  bool AtEnd() const { return rest_.empty(); }

 private:
  std::string_view text_;
  std::string_view rest_;
};

std::optional<RecoveredLevel> ParseRecord(std::string_view text) {
  RecordReader reader(text);
  RecoveredLevel level;
  if (!reader.Literal(kFormatLine) || !reader.Literal("saved-at ")) return std::nullopt;
  const std::optional<std::int64_t> savedAt = reader.Number('\n');
  if (!savedAt) return std::nullopt;
  level.savedAt = *savedAt;
  std::optional<std::string> picture = reader.Field("picture");
  if (!picture) return std::nullopt;
  std::optional<std::string> data = reader.Field("data");
  if (!data) return std::nullopt;
  std::optional<std::string> music = reader.Field("music");
  if (!music || !reader.Literal("grid\n")) return std::nullopt;
  level.picturePath = std::move(*picture);
  level.dataPath = std::move(*data);
  level.musicName = std::move(*music);
  for (int row = 1; row <= LevelGrid::kRows; ++row) {
    const std::optional<std::string_view> cells = reader.Bytes(LevelGrid::kColumns);
    if (!cells || !reader.Literal("\n")) return std::nullopt;
    for (int column = 1; column <= LevelGrid::kColumns; ++column) {
      level.grid.SetCell(column, row, (*cells)[static_cast<std::size_t>(column - 1)]);
    }
  }
  const std::string expected = Sha256Hex(reader.Read());
  if (!reader.Literal(kChecksumLabel)) return std::nullopt;
  const std::optional<std::string_view> checksum = reader.Bytes(kChecksumDigits);
  if (!checksum || *checksum != expected || !reader.Literal("\n") || !reader.AtEnd()) {
    return std::nullopt;
  }
  return level;
}

bool OwnedByUs(const struct stat& status) { return status.st_uid == ::geteuid(); }

// The folder opened for reading its records; not open when it is missing, cannot be opened or
// belongs to someone else.
FileDescriptor OpenFolder(const std::string& folder) {
  FileDescriptor opened = TryOpenFile(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  struct stat status {};
  if (opened.IsOpen() && (::fstat(opened.get(), &status) != 0 || !OwnedByUs(status))) {
    return FileDescriptor();
  }
  return opened;
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

// The record in the file `name` when it is a whole record whose picture path is that name's:
// a regular file of ours (links are not followed, and nothing that could block is opened) no
// larger than a record can be.
std::optional<RecoveredLevel> ReadRecord(int folder, const std::string& name) {
  const FileDescriptor file =
      TryOpenFileAt(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  struct stat status {};
  if (!file.IsOpen() || ::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode) ||
      !OwnedByUs(status) || static_cast<std::uint64_t>(status.st_size) > kMaxRecordBytes) {
    return std::nullopt;
  }
  // One byte more than the size, to see a file that has grown since.
  std::string text(static_cast<std::size_t>(status.st_size) + 1, '\0');
  std::size_t got = 0;
  try {
    for (std::size_t count = 1; count != 0 && got < text.size(); got += count) {
      count = ReadSome(file.get(), text.data() + got, text.size() - got);
    }
  } catch (const InOutError&) {
    return std::nullopt;
  }
  if (got != static_cast<std::size_t>(status.st_size)) return std::nullopt;
  text.resize(got);
  std::optional<RecoveredLevel> level = ParseRecord(text);
  if (!level || RecordName(level->picturePath) != name) return std::nullopt;
  return level;
}

// The names in the folder that a record may have, sorted.
std::vector<std::string> RecordFileNames(int folder) {
  std::vector<std::string> names;
  const int listed = ::dup(folder);
  if (listed < 0) return names;
  DIR* dir = ::fdopendir(listed);
  if (dir == nullptr) {
    ::close(listed);
    return names;
  }
  ::rewinddir(dir);
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name.ends_with(kRecordExtension)) names.emplace_back(name);
  }
  ::closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

// The home folder as the system's user database has it, for a process without $HOME.
}  // namespace

RecoveryStore::RecoveryStore(std::string folder) : folder_(std::move(folder)) {}

std::string RecoveryStore::DefaultFolder() { return StateFolder(); }

void RecoveryStore::Save(const RecoveredLevel& level) const {
  const std::string text = RecordText(level);
  if (text.size() > kMaxRecordBytes) ThrowInOutError(ENAMETOOLONG);
  const FileDescriptor folder = OpenPrivateFolder(folder_);
  const std::string name = RecordName(level.picturePath);
  auto [temporary, file] = CreateTemporary(folder.get(), name);
  try {
    if (::fchmod(file.get(), kRecordMode) != 0) ThrowInOutError(errno);
    WriteAll(file.get(), text);
    if (::fsync(file.get()) != 0) ThrowInOutError(errno);
    if (const int err = file.Close(); err != 0) ThrowInOutError(err);
    if (::renameat(folder.get(), temporary.c_str(), folder.get(), name.c_str()) != 0) {
      ThrowInOutError(errno);
    }
  } catch (...) {
    ::unlinkat(folder.get(), temporary.c_str(), 0);
    throw;
  }
  // The rename itself reaches the disk only with the folder.
  if (::fsync(folder.get()) != 0) ThrowInOutError(errno);
}

std::optional<RecoveredLevel> RecoveryStore::Find(const std::string& picturePath) const {
  const FileDescriptor folder = OpenFolder(folder_);
  if (!folder.IsOpen()) return std::nullopt;
  std::optional<RecoveredLevel> level = ReadRecord(folder.get(), RecordName(picturePath));
  // Another path whose hash begins the same way has its own record, not this one.
  if (level && level->picturePath != picturePath) return std::nullopt;
  return level;
}

std::optional<RecoveredLevel> RecoveryStore::Newest() const {
  const FileDescriptor folder = OpenFolder(folder_);
  if (!folder.IsOpen()) return std::nullopt;
  std::optional<RecoveredLevel> newest;
  for (const std::string& name : RecordFileNames(folder.get())) {
    std::optional<RecoveredLevel> level = ReadRecord(folder.get(), name);
    if (level && (!newest || level->savedAt > newest->savedAt)) newest = std::move(level);
  }
  return newest;
}

void RecoveryStore::Remove(const std::string& picturePath) const {
  const FileDescriptor folder = TryOpenFile(folder_, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (!folder.IsOpen()) {
    if (errno == ENOENT) return;
    ThrowInOutError(errno);
  }
  if (::unlinkat(folder.get(), RecordName(picturePath).c_str(), 0) != 0) {
    if (errno == ENOENT) return;
    ThrowInOutError(errno);
  }
  if (::fsync(folder.get()) != 0) ThrowInOutError(errno);
}

}  // namespace tollwen
