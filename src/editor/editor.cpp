#include "editor/editor.h"

#include <QCoreApplication>
#include <cstdlib>
#include <utility>

#include "editor/busy_scope.h"
#include "level/grid_geometry.h"
#include "level/path_parts.h"

namespace tollwen {

namespace {

// The codes the palette offers: '0' for the empty tile, '1'..'9' and 'A'..'F' for the tiles.
bool IsPaletteCode(TileCode code) {
  return (code >= '0' && code <= '9') || (code >= 'A' && code <= 'F');
}

}  // namespace

Editor::Editor(WindowServices& window, std::string resourceDir)
    : window_(window),
      tools_(level_, state_.CurrentTile),
      // The record waits for a running command or a gesture (a drag, a held key) to end, so
      // that writing it never holds up painting; so does a look at the data file.
      recovery_(level_, [this] { return CommandOrGestureUnderWay(); }),
      watcher_([this] { return CommandOrGestureUnderWay(); }) {
  // Everything else starts as declared: no level open, no picture (an empty background), the
  // empty tile chosen, no music and a blank grid.
  state_.ResourceDir = WithTrailingSeparator(std::move(resourceDir));
  // The data file of the level on the grid is watched for changes other programs make.
  const auto watch = [this] {
    watcher_.Watch(level_.Editable() ? level_.DataPath() : std::string());
  };
  QObject::connect(&level_, &LevelDocument::detailsChanged, &watcher_, watch);
  QObject::connect(&level_, &LevelDocument::displayChanged, &watcher_, watch);
}

void Editor::NewLevel() {
  BusyScope busy(*this);
  if (!ConfirmDiscardChanges(UnsavedAction::NewLevel)) return;
  // A blank level on the last opened picture. It belongs to no data file yet, so its first
  // Save asks for one rather than writing over the data file of the level before.
  tools_.Select(QRect());
  failedPicture_.clear();
  recovery_.Forget();
  level_.Start(LevelGrid(), std::string(), std::string(), DataFileStamp(), LevelDisplay::kShown);
}

void Editor::CloseLevel() {
  BusyScope busy(*this);
  if (!ConfirmDiscardChanges(UnsavedAction::CloseLevel)) return;
  failedPicture_.clear();
  DropLevel();
}

void Editor::DropLevel() {
  // The grid's content, the picture and the paths stay for a later New or Save As.
  tools_.CancelGesture();
  tools_.Select(QRect());
  level_.SetDisplay(LevelDisplay::kClosed);
  // Nothing hidden may change any more: an undo would reach a level nobody sees. Changes the
  // user chose to discard are gone now, and so is their recovery record.
  level_.ClearHistory();
  recovery_.Forget();
}

void Editor::SelectMusic() {
  BusyScope busy(*this);
  const auto chosen = window_.AskMusicFile(FileDialogFolder());
  if (!chosen) return;
  RememberFolderOf(*chosen);
  level_.ChooseMusicName(FileNameOf(*chosen));
}

std::string Editor::FileDialogFolder() const {
  if (level_.Editable() && !level_.PicturePath().empty()) return DirectoryOf(level_.PicturePath());
  if (!state_.LastFolder.empty()) return state_.LastFolder;
  const char* home = std::getenv("HOME");
  return WithTrailingSeparator(home != nullptr && *home == '/' ? home : "/");
}

void Editor::RememberFolderOf(const std::string& chosen) {
  if (const std::string folder = DirectoryOf(chosen); !folder.empty()) state_.LastFolder = folder;
}

void Editor::RefreshDisplay() {
  BusyScope busy(*this);
  if (level_.Editable()) window_.RepaintGrid();
  // Also where the file system tells of no changes (a network folder): a look at the data file.
  TakeInOutsideChange(true);
}

void Editor::StopLevelDisplay() {
  if (level_.Shown()) level_.SetDisplay(LevelDisplay::kStopped);
}

void Editor::Undo() {
  BusyScope busy(*this);
  level_.Undo();
}

void Editor::Redo() {
  BusyScope busy(*this);
  level_.Redo();
}

bool Editor::ConfirmDiscardChanges(UnsavedAction action) {
  if (!Modified()) return true;
  BusyScope busy(*this);
  static constexpr const char* kQuestions[] = {
      QT_TRANSLATE_NOOP("tollwen::Editor",
                        "Save changes to the level before starting a new level?"),
      QT_TRANSLATE_NOOP("tollwen::Editor",
                        "Save changes to the level before opening another level?"),
      QT_TRANSLATE_NOOP("tollwen::Editor", "Save changes to the level before closing it?"),
      QT_TRANSLATE_NOOP("tollwen::Editor", "Save changes to the level before exiting?"),
  };
  const QString question =
      QCoreApplication::translate("tollwen::Editor", kQuestions[static_cast<int>(action)]);
  switch (window_.AskSaveChanges(question.toStdString())) {
    case SaveChangesAnswer::Discard:
      // The level and its record stay until it is replaced: an open that fails keeps both.
      return true;
    case SaveChangesAnswer::Cancel:
      return false;
    case SaveChangesAnswer::Save:
      // A save that is cancelled leaves the level modified; one that fails throws.
      Save();
      return !Modified();
  }
  return false;
}

void Editor::ChooseTile(TileCode code) {
  // Only codes the palette offers are taken, so no cell can be painted with a character the
  // display cannot draw.
  if (IsPaletteCode(code)) state_.CurrentTile = code;
}

void Editor::PickTile(int column, int row) {
  if (geometry::IsInnerCell(column, row)) ChooseTile(level_.Grid().CellAt(column, row));
}

}  // namespace tollwen
