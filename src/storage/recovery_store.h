#pragma once

// Crash recovery for unsaved levels: a small private record for each level with unsaved
// changes, written in a way that a crash at any moment leaves either the previous record or the
// new one, and read back with strict checks, so that a damaged or foreign file is never offered
// as a recovery.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "level/level_grid.h"
#include "storage/data_file_stamp.h"
#include "storage/posix_file.h"

namespace tollwen {

// What the editor keeps of an unsaved level.
struct RecoveredLevel {
  std::string picturePath;  // empty for a level that has no picture (New before any Open)
  std::string dataPath;     // where Save would write; may be empty
  std::string musicName;
  LevelGrid grid;
  std::int64_t savedAt = 0;  // when the record was written, in seconds since 1970 (UTC)
  // What the data file was when the level was read or last saved: the changes are based on it.
  // Unknown (see DataFileStamp::Unknown) in a record of the editor's earlier version.
  DataFileStamp dataStamp;

  friend bool operator==(const RecoveredLevel&, const RecoveredLevel&) = default;
};

// A record's bytes, and the record in bytes: nothing for anything but a whole record as
// RecoveryRecordText writes it. Public for the fuzz target and the tests.
std::string RecoveryRecordText(const RecoveredLevel& level);
std::optional<RecoveredLevel> ParseRecoveryRecord(std::string_view text);
// A record of the editor's earlier version in bytes, strict in the same way.
std::optional<RecoveredLevel> ParseEarlierRecoveryRecord(std::string_view text);

// A record found in the store: its file's name and what it holds.
struct StoredRecord {
  std::string name;
  RecoveredLevel level;
};

// A record an editor writes and keeps while it runs. Its file is locked for as long as this
// lives, so that other editors see it belongs to a running editor: they neither offer nor delete
// it. A crash or kill ends the lock with the process, and the record is offered again.
class HeldRecord {
 public:
  HeldRecord(std::string name, FileDescriptor locked)
      : name_(std::move(name)), locked_(std::move(locked)) {}
  const std::string& Name() const { return name_; }

 private:
  friend class RecoveryStore;
  std::string name_;
  FileDescriptor locked_;
};

// The records in one folder, each in a file of its own: "level-<picture key>-<writer>.recovery"
// for a level on a picture (the key is a hash of the picture path's bytes, so any bytes work;
// the writer tells apart the records of one picture that different sessions kept) and
// "new-level-<writer>.recovery" for a level without a picture. The records that the editor's
// earlier version left ("level-<picture key>.recovery", "new-level.recovery") are found, held
// and removed as any other, never written. Every call is cheap: a record is a few hundred bytes
// and is read only when it is no larger than a record can be; nothing that could block is opened
// (a FIFO is skipped), no link is followed, and only the user's own folder and files are read.
// The store holds no state besides its folder: calls may come from any thread, and two
// processes saving one record leave one whole record.
class RecoveryStore {
 public:
  explicit RecoveryStore(std::string folder);

  // The editor's state folder (see StateFolder).
  static std::string DefaultFolder();

  const std::string& Folder() const { return folder_; }

  // The name of the record that the writer `writer` (letters and digits) keeps for a level on
  // `picturePath` ("" for the level without a picture).
  static std::string RecordName(const std::string& picturePath, const std::string& writer);
  // Letters that make a session's records its own.
  static std::string NewWriter();
  // True for the name of a record of the editor's earlier version: Save does not write it.
  static bool OfEarlierVersion(const std::string& name);

  // Writes `level` as the record `name` (a RecordName of level.picturePath), replacing any
  // earlier one, and returns it held (see HeldRecord): the new file is locked before it takes the
  // name. The folder and any missing parents are created private (0700) and the record is
  // private (0600); it is flushed to the disk before it is renamed over the old one, and the
  // folder after. Throws InOutError when any step fails (the old record then stays as it was).
  HeldRecord Save(const RecoveredLevel& level, const std::string& name) const;

  // The records of `picturePath` ("" for the level without a picture) that no running editor
  // holds (or all of them, to look at only), newest first; each is a whole record of that path.
  enum class Held { kSkipped, kIncluded };
  std::vector<StoredRecord> LeftFor(const std::string& picturePath,
                                    Held held = Held::kSkipped) const;

  // The most recently written record of all that no running editor holds, for start-up. Only
  // the newest files are read, so a folder of thousands of records costs little.
  std::optional<StoredRecord> Newest() const;

  // Holds the existing record `name` for this process (taking over a record left behind);
  // nothing when it is gone or another running editor holds it.
  std::optional<HeldRecord> Hold(const std::string& name) const;

  // Deletes the record `name` (after a save, a discard or a clean exit), unless another running
  // editor holds it. Nothing to delete is no error; throws InOutError when the record is there
  // but cannot be deleted. Removing a held record releases it.
  void Remove(const std::string& name) const;
  void Remove(HeldRecord record) const;

 private:
  std::string folder_;
};

}  // namespace tollwen
