#include "editor/level_document.h"

#include <algorithm>
#include <utility>

#include "editor/edit_cells_command.h"
#include "editor/set_music_command.h"

namespace tollwen {

namespace {

// The smallest rectangle of column and row numbers that holds every changed cell.
QRect BoundsOf(const CellChanges& changes) {
  QRect bounds;
  for (const CellChange& change : changes) bounds |= QRect(change.cell, QSize(1, 1));
  return bounds;
}

}  // namespace

LevelDocument::LevelDocument(QObject* parent) : QObject(parent) {
  connect(&history_, &QUndoStack::cleanChanged, this,
          [this](bool clean) { emit modifiedChanged(!clean); });
}

void LevelDocument::Edit(const QString& name, const CellChanges& changes, int strokeKey) {
  // Each cell once, with the last code given for it, and only where the code changes.
  CellChanges before;
  CellChanges after;
  std::vector<CellPosition> given;
  for (auto change = changes.rbegin(); change != changes.rend(); ++change) {
    if (std::find(given.begin(), given.end(), change->cell) != given.end()) continue;
    given.push_back(change->cell);
    const TileCode old = grid_.CellAt(change->cell.x(), change->cell.y());
    if (old == change->code) continue;
    before.push_back({change->cell, old});
    after.push_back(*change);
  }
  if (after.empty()) return;
  std::reverse(before.begin(), before.end());
  std::reverse(after.begin(), after.end());

  if (strokeKey == 0) {
    openStroke_ = 0;
  } else if (strokeKey != openStroke_) {
    // A new stroke, or the rest of one that an undo or redo interrupted: a step of its own.
    openStroke_ = strokeKey;
    openStepKey_ = NewStrokeKey();
  }
  history_.push(new EditCellsCommand(*this, name, std::move(before), std::move(after),
                                     strokeKey == 0 ? 0 : openStepKey_));
}

void LevelDocument::ChooseMusicName(const std::string& name) {
  if (name == musicName_) return;
  openStroke_ = 0;
  history_.push(new SetMusicCommand(*this, name));
}

void LevelDocument::Undo() {
  openStroke_ = 0;
  history_.undo();
}

void LevelDocument::Redo() {
  openStroke_ = 0;
  history_.redo();
}

void LevelDocument::WriteCells(const CellChanges& changes) {
  if (changes.empty()) return;
  for (const CellChange& change : changes) {
    grid_.SetCell(change.cell.x(), change.cell.y(), change.code);
  }
  emit cellsChanged(BoundsOf(changes));
}

void LevelDocument::SetDisplay(LevelDisplay display) {
  display_ = display;
  emit displayChanged();
}

void LevelDocument::LayPicture(const std::string& picturePath, QImage picture) {
  picturePath_ = picturePath;
  picture_ = std::move(picture);
  emit pictureLaidOver();
  emit detailsChanged();
}

void LevelDocument::Start(const LevelGrid& grid, const std::string& musicName,
                          const std::string& dataPath, const DataFileStamp& dataStamp,
                          LevelDisplay display) {
  grid_ = grid;
  musicName_ = musicName;
  dataPath_ = dataPath;
  dataStamp_ = dataStamp;
  display_ = display;
  ClearHistory();
  emit displayChanged();
  emit detailsChanged();
}

void LevelDocument::SetDataPath(const std::string& dataPath, const DataFileStamp& dataStamp) {
  dataPath_ = dataPath;
  dataStamp_ = dataStamp;
  emit detailsChanged();
}

void LevelDocument::SetMusicName(const std::string& name) {
  musicName_ = name;
  emit detailsChanged();
}

void LevelDocument::ClearHistory() {
  openStroke_ = 0;
  history_.clear();
}

}  // namespace tollwen
