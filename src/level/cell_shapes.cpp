#include "level/cell_shapes.h"

#include <algorithm>
#include <cstdlib>

namespace tollwen {

namespace {

// i * delta / steps rounded to the nearest whole number, halves away from zero.
int RoundedShare(int i, int delta, int steps) {
  const int twice = 2 * i * delta;
  return twice >= 0 ? (twice + steps) / (2 * steps) : -((-twice + steps) / (2 * steps));
}

}  // namespace

std::vector<CellPosition> LineCells(CellPosition from, CellPosition to) {
  const int dx = to.x() - from.x();
  const int dy = to.y() - from.y();
  const int steps = std::max(std::abs(dx), std::abs(dy));
  std::vector<CellPosition> cells;
  cells.reserve(static_cast<std::size_t>(steps) + 1);
  cells.push_back(from);
  for (int i = 1; i <= steps; ++i) {
    cells.emplace_back(from.x() + RoundedShare(i, dx, steps),
                       from.y() + RoundedShare(i, dy, steps));
  }
  return cells;
}

std::vector<CellPosition> RectangleCells(CellPosition corner, CellPosition opposite,
                                         bool outlineOnly) {
  const int left = std::min(corner.x(), opposite.x());
  const int right = std::max(corner.x(), opposite.x());
  const int top = std::min(corner.y(), opposite.y());
  const int bottom = std::max(corner.y(), opposite.y());
  std::vector<CellPosition> cells;
  for (int row = top; row <= bottom; ++row) {
    const bool edgeRow = row == top || row == bottom;
    for (int column = left; column <= right; ++column) {
      if (!outlineOnly || edgeRow || column == left || column == right) {
        cells.emplace_back(column, row);
      }
    }
  }
  return cells;
}

}  // namespace tollwen
