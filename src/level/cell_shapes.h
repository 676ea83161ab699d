#pragma once

#include <QPointF>
#include <vector>

#include "level/cell_change.h"

namespace tollwen {

// The cells of the straight line from `from` to `to`, both included, in order from `from`: one
// cell for each step along the longer axis, the other coordinate rounded to the nearest cell
// (halves away from the start). Horizontal, vertical and 45-degree lines are exact.
std::vector<CellPosition> LineCells(CellPosition from, CellPosition to);

// The cells the straight segment from `from` to `to` passes through, in order from `from`, in
// a plane where cell (c, r) spans c <= x < c + 1, r <= y < r + 1. Where it passes exactly
// through a corner it goes on to the diagonal cell, touching neither cell beside the corner.
std::vector<CellPosition> SegmentCells(QPointF from, QPointF to);

// The cells of the rectangle with corners `corner` and `opposite` (in any order), row by row:
// all of them, or with `outlineOnly` only those on its edge.
std::vector<CellPosition> RectangleCells(CellPosition corner, CellPosition opposite,
                                         bool outlineOnly);

}  // namespace tollwen
