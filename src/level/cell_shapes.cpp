#include "level/cell_shapes.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

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

std::vector<CellPosition> SegmentCells(QPointF from, QPointF to) {
  const CellPosition last(static_cast<int>(std::floor(to.x())),
                          static_cast<int>(std::floor(to.y())));
  CellPosition cell(static_cast<int>(std::floor(from.x())), static_cast<int>(std::floor(from.y())));
  std::vector<CellPosition> cells{cell};
  // The share of the segment after which it crosses the next column (row) line; one column
  // (row) further takes `pitch` more.
  const auto crossing = [](double start, double delta, int index) {
    if (delta > 0) return (index + 1 - start) / delta;
    if (delta < 0) return (start - index) / -delta;
    return std::numeric_limits<double>::infinity();
  };
  const double dx = to.x() - from.x();
  const double dy = to.y() - from.y();
  double nextX = crossing(from.x(), dx, cell.x());
  double nextY = crossing(from.y(), dy, cell.y());
  const double pitchX = dx != 0 ? 1 / std::abs(dx) : 0;
  const double pitchY = dy != 0 ? 1 / std::abs(dy) : 0;
  constexpr double kSameCrossing = 1e-9;
  while (cell != last) {
    // Each step goes towards the last cell, so the walk ends there whatever the rounding.
    const bool xDone = cell.x() == last.x();
    const bool yDone = cell.y() == last.y();
    const bool stepX = !xDone && (yDone || nextX <= nextY + kSameCrossing);
    const bool stepY = !yDone && (xDone || nextY <= nextX + kSameCrossing);
    if (stepX) {
      cell.rx() += dx > 0 ? 1 : -1;
      nextX += pitchX;
    }
    if (stepY) {
      cell.ry() += dy > 0 ? 1 : -1;
      nextY += pitchY;
    }
    cells.push_back(cell);
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
