#include "level/level_grid.h"

namespace tollwen {

void LevelGrid::ResetToBlank() {
  for (auto& row : cells_) row.fill(kEmptyTile);
}

void LevelGrid::SetCell(int column, int row, TileCode code) { cells_[row - 1][column - 1] = code; }

TileCode LevelGrid::CellAt(int column, int row) const { return cells_[row - 1][column - 1]; }

}  // namespace tollwen
