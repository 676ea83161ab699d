#include "tool/level_diff.h"

#include "display/tile_names.h"
#include "tool/shown_name.h"

namespace tollwen {

namespace {

// A cell's code as the diff names it: "Water (9)", or "'G' (not a tile code)".
std::string CellLabel(TileCode code) {
  if (TileName(code)) return TileLabel(code);
  return "'" + ShownCharacter(code) + "' (not a tile code)";
}

std::string Quoted(const std::string& name) { return "\"" + ShownName(name) + "\""; }

}  // namespace

LevelDiff DiffLevels(const DataFileScan& before, const DataFileScan& after) {
  LevelDiff diff{before.musicName, after.musicName, {}};
  for (int row = 1; row <= LevelGrid::kRows; ++row) {
    for (int column = 1; column <= LevelGrid::kColumns; ++column) {
      const TileCode old = before.grid.CellAt(column, row);
      const TileCode now = after.grid.CellAt(column, row);
      if (old == now) continue;
      diff.cells.push_back({column, row, old, now,
                            after.cellColumns[static_cast<std::size_t>(row - 1)]
                                             [static_cast<std::size_t>(column - 1)]});
    }
  }
  return diff;
}

std::string DiffReport(const LevelDiff& diff, const std::string& newFile) {
  const std::string file = ShownName(newFile);
  std::string report;
  if (diff.MusicChanged()) {
    report +=
        file + ":1: music: " + Quoted(diff.musicBefore) + " -> " + Quoted(diff.musicAfter) + "\n";
  }
  for (const CellChange& cell : diff.cells) {
    report += file + ":" + std::to_string(cell.row + 1);
    if (cell.fileColumn > 0) report += ":" + std::to_string(cell.fileColumn);
    report += ": column " + std::to_string(cell.column) + ", row " + std::to_string(cell.row) +
              ": " + CellLabel(cell.before) + " -> " + CellLabel(cell.after) + "\n";
  }
  const std::size_t count = diff.cells.size();
  report += std::to_string(count) + (count == 1 ? " cell changed" : " cells changed");
  if (diff.MusicChanged()) report += ", music changed";
  return report + "\n";
}

}  // namespace tollwen
