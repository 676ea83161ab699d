#include "editor/recovery_keeper.h"

#include <chrono>
#include <utility>

#include "editor/level_document.h"
#include "level/errors.h"

namespace tollwen {

namespace {

std::int64_t Now() {
  return std::chrono::duration_cast<std::chrono::seconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

}  // namespace

RecoveryKeeper::RecoveryKeeper(LevelDocument& level, std::function<bool()> busy, std::string folder)
    : level_(level), busy_(std::move(busy)), store_(std::move(folder)) {
  timer_.setSingleShot(true);
  timer_.setInterval(kDelayMs);
  connect(&timer_, &QTimer::timeout, this, [this] {
    if (busy_()) {
      timer_.start();
      return;
    }
    KeepNow();
  });
  connect(&level_, &LevelDocument::cellsChanged, this, &RecoveryKeeper::ChangeNoticed);
  connect(&level_, &LevelDocument::detailsChanged, this, &RecoveryKeeper::ChangeNoticed);
  connect(&level_, &LevelDocument::modifiedChanged, this, &RecoveryKeeper::ChangeNoticed);
}

void RecoveryKeeper::ChangeNoticed() {
  // Started by the first change since the last write, not restarted by later ones: a long
  // drag is still kept within the delay.
  if (!timer_.isActive()) timer_.start();
}

void RecoveryKeeper::KeepNow() {
  timer_.stop();
  if (!level_.Editable() || !level_.Modified()) {
    Forget();
    return;
  }
  const std::string& key = level_.PicturePath();
  if (keptForLater_.count(key) != 0) return;
  try {
    if (written_ && *written_ != key) store_.Remove(*written_);
    store_.Save({key, level_.DataPath(), level_.MusicName(), level_.Grid(), Now()});
    written_ = key;
  } catch (const EditorError&) {
    // A record that cannot be written (no home, a full disk) must not get in the way of the
    // work itself; the next change tries again.
  }
}

void RecoveryKeeper::Forget() {
  timer_.stop();
  if (!written_) return;
  try {
    store_.Remove(*written_);
    written_.reset();
  } catch (const EditorError&) {
    // Left for the next session, which asks about it.
  }
}

std::optional<RecoveredLevel> RecoveryKeeper::LeftBehind(const std::string& picturePath) const {
  if (written_ == picturePath) return std::nullopt;
  return store_.Find(picturePath);
}

std::optional<RecoveredLevel> RecoveryKeeper::NewestLeftBehind() const { return store_.Newest(); }

void RecoveryKeeper::Adopt(const RecoveredLevel& record) {
  keptForLater_.erase(record.picturePath);
  written_ = record.picturePath;
}

void RecoveryKeeper::Discard(const RecoveredLevel& record) {
  keptForLater_.erase(record.picturePath);
  try {
    store_.Remove(record.picturePath);
  } catch (const EditorError&) {
  }
}

void RecoveryKeeper::KeepForLater(const RecoveredLevel& record) {
  keptForLater_.insert(record.picturePath);
}

}  // namespace tollwen
