#pragma once

// Crash recovery for unsaved levels: a small private record for each level with unsaved
// changes, written in a way that a crash at any moment leaves either the previous record or the
// new one, and read back with strict checks, so that a damaged or foreign file is never offered
// as a recovery.

#include <cstdint>
#include <optional>
#include <string>

#include "level/level_grid.h"

namespace tollwen {

// What the editor keeps of an unsaved level.
struct RecoveredLevel {
  std::string picturePath;  // empty for a level that has no picture (New before any Open)
  std::string dataPath;     // where Save would write; may be empty
  std::string musicName;
  LevelGrid grid;            // any byte values
  std::int64_t savedAt = 0;  // when the record was written, in seconds since 1970 (UTC)

  friend bool operator==(const RecoveredLevel&, const RecoveredLevel&) = default;
};

// The records in one folder: one for each picture path (named after a hash of the path's bytes,
// so any bytes work), and one for the level that has no picture. Every call is cheap (a record
// is a few hundred bytes; a save's time is its two flushes to the disk), opens nothing that
// could block (a FIFO in the folder is skipped), and touches no file of the folder but the record
// of its own key and that record's temporary file. The store holds no state besides its folder:
// calls may come from any thread, and two processes saving the same key leave one whole record.
class RecoveryStore {
 public:
  explicit RecoveryStore(std::string folder);

  // The editor's state folder (see StateFolder).
  static std::string DefaultFolder();

  const std::string& Folder() const { return folder_; }

  // Writes the record for level.picturePath, replacing any earlier one, with level.savedAt as
  // given (callers stamp it with the current time). The folder and any missing parents are
  // created private (0700) and the record is private (0600). The record goes to a temporary
  // file in the folder that is flushed to the disk before it is renamed over the old record,
  // and the folder is flushed after. Throws InOutError when any step fails (the old record then
  // stays as it was).
  void Save(const RecoveredLevel& level) const;

  // The record for `picturePath` ("" for the level that has no picture), or nothing when there
  // is none, or when the file there cannot be read or is not a whole record of that path.
  std::optional<RecoveredLevel> Find(const std::string& picturePath) const;

  // The most recently saved of all the records (by savedAt), for start-up; nothing when there is
  // none that can be read whole.
  std::optional<RecoveredLevel> Newest() const;

  // Deletes the record for `picturePath` (after a save, a discard or a clean exit). Nothing to
  // delete is no error; throws InOutError when the record is there but cannot be deleted.
  void Remove(const std::string& picturePath) const;

 private:
  std::string folder_;
};

}  // namespace tollwen
