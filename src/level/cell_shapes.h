#pragma once

#include <vector>

#include "level/cell_change.h"

namespace tollwen {

// The cells of the straight line from `from` to `to`, both included, in order from `from`: one
// cell for each step along the longer axis, the other coordinate rounded to the nearest cell
// (halves away from the start). Horizontal, vertical and 45-degree lines are exact.
std::vector<CellPosition> LineCells(CellPosition from, CellPosition to);

// The cells of the rectangle with corners `corner` and `opposite` (in any order), row by row:
// all of them, or with `outlineOnly` only those on its edge.
std::vector<CellPosition> RectangleCells(CellPosition corner, CellPosition opposite,
                                         bool outlineOnly);

}  // namespace tollwen
