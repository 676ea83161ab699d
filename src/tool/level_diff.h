#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "level/data_file_check.h"
#include "level/tile_code.h"

namespace tollwen {

// A cell whose code differs between two levels.
struct CellChange {
  int column = 0;  // 1..19
  int row = 0;     // 1..13
  TileCode before = kEmptyTile;
  TileCode after = kEmptyTile;
  std::int64_t fileColumn = 0;  // where the new code stands in its line; 0 when filled up
};

// What differs between two levels as the editor reads them.
struct LevelDiff {
  std::string musicBefore;
  std::string musicAfter;
  std::vector<CellChange> cells;  // row by row, left to right

  bool MusicChanged() const { return musicBefore != musicAfter; }
  bool Same() const { return !MusicChanged() && cells.empty(); }
};

// Compares two data files as read by ScanDataFile: the music names and every cell (rows cut
// and filled up as the editor reads them, so bytes the editor ignores make no difference).
LevelDiff DiffLevels(const DataFileScan& before, const DataFileScan& after);

// The report of `diff` in the form compilers use, at the new data file's places: a line for a
// changed music name ("NEW:1: music: \"a.mod\" -> \"b.mod\""), one for each changed cell
// ("NEW:LINE:COLUMN: column C, row R: Brick Wall (5) -> Water (9)"; no column for a cell the
// new file does not hold), then "N cells changed" (with ", music changed"). Names are shown
// with ShownName.
std::string DiffReport(const LevelDiff& diff, const std::string& newFile);

}  // namespace tollwen
