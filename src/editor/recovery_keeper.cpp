#include "editor/recovery_keeper.h"

#include <chrono>
#include <utility>

#include "editor/idle_timer.h"
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
    : level_(level), store_(std::move(folder)), writer_(RecoveryStore::NewWriter()) {
  FireWhenIdle(timer_, kDelayMs, std::move(busy), [this] { KeepNow(); });
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
  const std::string& picture = level_.PicturePath();
  try {
    // A record of another level (the one before an Open) has no use any more.
    if (held_ && heldPicture_ != picture) Forget();
    // This version writes records of its own kind only: a record of the earlier version that
    // this session took over gives way to one of this session's once that holds the changes.
    const bool earlier = held_ && RecoveryStore::OfEarlierVersion(held_->Name());
    const std::string name =
        held_ && !earlier ? held_->Name() : RecoveryStore::RecordName(picture, writer_);
    HeldRecord saved = store_.Save(
        {picture, level_.DataPath(), level_.MusicName(), level_.Grid(), Now(), level_.DataStamp()},
        name);
    if (earlier) Forget();
    held_ = std::move(saved);
    heldPicture_ = picture;
  } catch (const EditorError&) {
    // A record that cannot be written (no home, a full disk) must not get in the way of the
    // work itself; the next change tries again.
  }
}

void RecoveryKeeper::Forget() {
  timer_.stop();
  if (!held_) return;
  try {
    store_.Remove(std::move(*held_));
  } catch (const EditorError&) {
    // Left for the next session, which asks about it.
  }
  held_.reset();
}

std::vector<StoredRecord> RecoveryKeeper::LeftBehind(const std::string& picturePath) const {
  return store_.LeftFor(picturePath);
}

std::optional<StoredRecord> RecoveryKeeper::NewestLeftBehind() const { return store_.Newest(); }

void RecoveryKeeper::Adopt(const StoredRecord& record) {
  std::optional<HeldRecord> adopted = store_.Hold(record.name);
  // Another editor took it over meanwhile: this session's changes go to a record of its own.
  if (!adopted) return;
  Forget();
  held_ = std::move(adopted);
  heldPicture_ = record.level.picturePath;
}

void RecoveryKeeper::Discard(const StoredRecord& record) {
  try {
    store_.Remove(record.name);
  } catch (const EditorError&) {
  }
}

}  // namespace tollwen
