#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <optional>
#include <set>
#include <string>

#include "storage/recovery_store.h"

namespace tollwen {

class LevelDocument;

// Keeps a recovery record of the level while it has unsaved changes, so that a crash, a kill
// or a power cut loses at most the last two seconds of work. The record is written from a
// timer, never while painting, and removed once the changes are saved or discarded. Records
// that earlier sessions left are found here too; one the user chose to keep for later is never
// written over nor removed by this session.
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

  // A record that another session left for the level of `picturePath`.
  std::optional<RecoveredLevel> LeftBehind(const std::string& picturePath) const;
  // The most recent record any session left, for start-up.
  std::optional<RecoveredLevel> NewestLeftBehind() const;
  // The user's answers about a record left behind: taken over by this session, removed, or
  // kept for the next time (this session then writes no record for that level).
  void Adopt(const RecoveredLevel& record);
  void Discard(const RecoveredLevel& record);
  void KeepForLater(const RecoveredLevel& record);

 private:
  void ChangeNoticed();

  LevelDocument& level_;
  std::function<bool()> busy_;
  RecoveryStore store_;
  QTimer timer_;
  // The picture path of the record this session wrote last, if any.
  std::optional<std::string> written_;
  std::set<std::string> keptForLater_;
};

}  // namespace tollwen
