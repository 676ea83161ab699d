#pragma once

#include <QPoint>
#include <vector>

#include "level/tile_code.h"

namespace tollwen {

// A level cell is named by a point: x is the column (1..19), y the row (1..13).
using CellPosition = QPoint;

// One cell to be given a code.
struct CellChange {
  CellPosition cell;
  TileCode code;

  friend bool operator==(const CellChange&, const CellChange&) = default;
};

using CellChanges = std::vector<CellChange>;

// The same code for every cell of `cells`.
inline CellChanges ChangesTo(const std::vector<CellPosition>& cells, TileCode code) {
  CellChanges changes;
  changes.reserve(cells.size());
  for (const CellPosition& cell : cells) changes.push_back({cell, code});
  return changes;
}

}  // namespace tollwen
