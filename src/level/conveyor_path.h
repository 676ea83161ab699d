#pragma once

#include <vector>

#include "level/cell_change.h"

namespace tollwen {

// The conveyor tiles: each carries what lands on it one cell on, in its direction.
inline constexpr TileCode kConveyorUp = '1';
inline constexpr TileCode kConveyorRight = '2';
inline constexpr TileCode kConveyorDown = '3';
inline constexpr TileCode kConveyorLeft = '4';

// The conveyors that lay a path along `passed`, the cells a drag went through in order. The
// path is made 4-connected first: a jump between cells that are not side by side goes along
// the straight line between them, and each diagonal step through the cell beside it in the
// horizontal direction. Each cell of the path then points to the next one; the last keeps the
// direction of the step into it, unless the path ends on its first cell: that closes a loop,
// and the first cell keeps pointing to the second. Otherwise a cell the path crosses twice takes
// its later direction. A path that never leaves its first cell has no direction and lays
// nothing.
CellChanges ConveyorPath(const std::vector<CellPosition>& passed);

}  // namespace tollwen
