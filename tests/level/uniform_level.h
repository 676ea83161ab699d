#pragma once

#include <string>

#include "level/level_grid.h"

namespace tollwen::testing {

// A grid with `code` in every cell.
inline LevelGrid FilledGrid(TileCode code) {
  LevelGrid grid;
  for (int row = 1; row <= LevelGrid::kRows; ++row)
    for (int column = 1; column <= LevelGrid::kColumns; ++column) grid.SetCell(column, row, code);
  return grid;
}

// The data file the editor writes for `music` and FilledGrid(code).
inline std::string LevelText(const std::string& music, char code) {
  std::string text = music + "\r\n";
  for (int row = 1; row <= LevelGrid::kRows; ++row)
    text += std::string(LevelGrid::kColumns, code) + "\r\n";
  return text;
}

}  // namespace tollwen::testing
