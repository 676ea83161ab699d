#include "editor/editor.h"

#include <utility>

#include "editor/busy_scope.h"
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
  // The picture and DataPath stay, so New gives a blank level on the last opened picture.
  state_.LevelOpen = true;
  state_.MusicName.clear();
  state_.Grid.ResetToBlank();
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
  state_.MusicName = FileNameOf(*chosen);
}

void Editor::RefreshDisplay() {
  BusyScope busy(*this);
  if (window_.GridEnabled()) window_.RepaintGrid();
}

void Editor::PaintCell(int column, int row) {
  // The grid view only passes inner cells; anything else would write outside the grid.
  if (column < 1 || column > LevelGrid::kColumns || row < 1 || row > LevelGrid::kRows) return;
  state_.Grid.SetCell(column, row, state_.CurrentTile);
}

void Editor::ChooseTile(TileCode code) {
  // Only codes the palette offers are taken, so no cell can be painted with a character the
  // display cannot draw.
  if (IsPaletteCode(code)) state_.CurrentTile = code;
}

}  // namespace tollwen
