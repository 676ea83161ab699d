#pragma once

#include <array>

#include "level/tile_code.h"

namespace tollwen {

// The editable content of a level: 13 rows of 19 tile codes, numbered from 1.
// Every row always holds 19 cells; the grid is blank (all '0') from construction on.
class LevelGrid {
 public:
  static constexpr int kColumns = 19;
  static constexpr int kRows = 13;

  LevelGrid() { ResetToBlank(); }

  void ResetToBlank();
  // column 1..19, row 1..13; callers never pass other positions.
  void SetCell(int column, int row, TileCode code);
  TileCode CellAt(int column, int row) const;

  friend bool operator==(const LevelGrid&, const LevelGrid&) = default;

 private:
  std::array<std::array<TileCode, kColumns>, kRows> cells_{};
};

}  // namespace tollwen
