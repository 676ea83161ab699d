#include "editor/editor.h"

#include <utility>

#include "editor/busy_scope.h"
#include "editor/paint_cells_command.h"
#include "editor/set_music_command.h"
#include "level/path_parts.h"

namespace tollwen {

namespace {

// The codes the palette offers: '0' for the empty tile, '1'..'9' and 'A'..'F' for the tiles.
bool IsPaletteCode(TileCode code) {
  return (code >= '0' && code <= '9') || (code >= 'A' && code <= 'F');
}

}  // namespace

Editor::Editor(WindowServices& window, std::string resourceDir) : window_(window) {
  // Everything else starts as EditorState declares it: no level open, no picture (an empty
  // background), the empty tile chosen, no music and a blank grid.
  state_.ResourceDir = WithTrailingSeparator(std::move(resourceDir));
}

void Editor::NewLevel() {
  BusyScope busy(*this);
  if (!ConfirmDiscardChanges(UnsavedAction::NewLevel)) return;
  // The picture and DataPath stay, so New gives a blank level on the last opened picture.
  state_.LevelOpen = true;
  state_.MusicName.clear();
  state_.Grid.ResetToBlank();
  StartHistory();
  window_.SetGridEnabled(true);
  window_.RepaintGrid();
}

void Editor::CloseLevel() {
  BusyScope busy(*this);
  // The grid's content, the background and the paths stay for a later New or Save As.
  state_.LevelOpen = false;
  window_.RepaintGrid();
  window_.SetGridEnabled(false);
}

void Editor::SelectMusic() {
  BusyScope busy(*this);
  const auto chosen = window_.AskMusicFile(state_.ResourceDir);
  if (!chosen) return;
  const std::string name = FileNameOf(*chosen);
  // Choosing the name the level already has changes nothing and makes no step.
  if (name != state_.MusicName) history_.push(new SetMusicCommand(state_, name));
}

void Editor::RefreshDisplay() {
  BusyScope busy(*this);
  if (window_.GridEnabled()) window_.RepaintGrid();
}

void Editor::PaintCell(int column, int row) {
  // The grid view only passes inner cells; anything else would write outside the grid.
  if (column < 1 || column > LevelGrid::kColumns || row < 1 || row > LevelGrid::kRows) return;
  const TileCode before = state_.Grid.CellAt(column, row);
  if (before == state_.CurrentTile) {
    // Nothing changes and no step is made; the cell is shown anew all the same.
    window_.CellsChanged(QRect(column, row, 1, 1));
    return;
  }
  // A paint outside any stroke (not from the grid) is a step of its own.
  const int stroke = stroke_ != 0 ? stroke_ : ++lastStroke_;
  history_.push(new PaintCellsCommand(*this, stroke, {column, row, before, state_.CurrentTile}));
}

void Editor::BeginStroke() { stroke_ = ++lastStroke_; }

void Editor::EndStroke() { stroke_ = 0; }

void Editor::ApplyCellEdits(const std::vector<CellEdit>& edits) {
  if (edits.empty()) return;
  QRect changed;
  for (const CellEdit& edit : edits) {
    state_.Grid.SetCell(edit.column, edit.row, edit.after);
    changed |= QRect(edit.column, edit.row, 1, 1);
  }
  window_.CellsChanged(changed);
}

void Editor::Undo() {
  BusyScope busy(*this);
  // The rest of a stroke that is still going on becomes a step of its own.
  if (stroke_ != 0) stroke_ = ++lastStroke_;
  history_.undo();
}

void Editor::Redo() {
  BusyScope busy(*this);
  if (stroke_ != 0) stroke_ = ++lastStroke_;
  history_.redo();
}

void Editor::StartHistory() {
  history_.clear();
  stroke_ = 0;
}

bool Editor::ConfirmDiscardChanges(UnsavedAction action) {
  if (!Modified()) return true;
  BusyScope busy(*this);
  static constexpr const char* kQuestions[] = {
      "Save changes to the level before starting a new level?",
      "Save changes to the level before opening another level?",
      "Save changes to the level before exiting?",
  };
  switch (window_.AskSaveChanges(kQuestions[static_cast<int>(action)])) {
    case SaveChangesAnswer::Discard:
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

}  // namespace tollwen
