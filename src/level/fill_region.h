#pragma once

#include <vector>

#include "level/cell_change.h"
#include "level/level_grid.h"

namespace tollwen {

// The level cells reached from `start` through neighbours above, below, left and right that
// hold the same code as `start`, `start` included; none when `start` is not a level cell.
std::vector<CellPosition> FillRegion(const LevelGrid& grid, CellPosition start);

}  // namespace tollwen
