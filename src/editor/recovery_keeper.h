#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "storage/recovery_store.h"

namespace tollwen {

class LevelDocument;

// Keeps a recovery record of the level while it has unsaved changes, so that a crash, a kill
// or a power cut loses at most the last two seconds of work. The record is written from a
// timer, never while painting, and removed once the changes are saved or discarded. It is this
// session's own (see HeldRecord): while the editor runs, other editors neither offer nor delete
// it. Records that earlier sessions left are found here too, those of the editor's earlier
// version among them; one the user chose to keep for later is never written over nor removed by
// this session, whose changes go to a record of its own.
class RecoveryKeeper : public QObject {
  Q_OBJECT

 public:
  // How long after a change the record is written.
  static constexpr int kDelayMs = 1500;

  // `busy` tells when the record must wait: while a command runs (the level may be half-way
  // through it) or the user is painting.
  RecoveryKeeper(LevelDocument& level, std::function<bool()> busy,
                 std::string folder = RecoveryStore::DefaultFolder());

  // Writes the record now if the level has unsaved changes, or removes this session's record if
  // it has none (the changes were undone).
  void KeepNow();
  // The level's changes were saved or discarded: this session's record of it goes.
  void Forget();

  // The records that ended sessions left for the level of `picturePath`, newest first.
  std::vector<StoredRecord> LeftBehind(const std::string& picturePath) const;
  // The most recent record any ended session left, for start-up.
  std::optional<StoredRecord> NewestLeftBehind() const;
  // The user's answers about a record left behind: taken over by this session (whose record it
  // then is; one of the earlier version gives way to this session's own once that holds its
  // changes), removed, or kept untouched for the next time.
  void Adopt(const StoredRecord& record);
  void Discard(const StoredRecord& record);

 private:
  void ChangeNoticed();

  LevelDocument& level_;
  RecoveryStore store_;
  QTimer timer_;
  // What makes this session's record names its own.
  std::string writer_;
  // The record this session holds, and the picture it is for.
  std::optional<HeldRecord> held_;
  std::string heldPicture_;
};

}  // namespace tollwen
