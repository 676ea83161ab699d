#include "level/cell_block.h"

#include <algorithm>

#include "level/cell_shapes.h"
#include "level/grid_geometry.h"

namespace tollwen {

CellBlock BlockOf(const LevelGrid& grid, const QRect& cells) {
  CellBlock block;
  for (int row = cells.top(); row <= cells.bottom(); ++row) {
    std::string& codes = block.emplace_back();
    for (int column = cells.left(); column <= cells.right(); ++column) {
      codes += grid.CellAt(column, row);
    }
  }
  return block;
}

QSize SizeOf(const CellBlock& block) {
  std::size_t width = 0;
  for (const std::string& row : block) width = std::max(width, row.size());
  return QSize(static_cast<int>(width), static_cast<int>(block.size()));
}

CellChanges PlacedCells(const CellBlock& block, CellPosition topLeft) {
  CellChanges changes;
  for (std::size_t r = 0; r < block.size(); ++r) {
    for (std::size_t c = 0; c < block[r].size(); ++c) {
      const CellPosition cell = topLeft + CellPosition(static_cast<int>(c), static_cast<int>(r));
      if (geometry::IsInnerCell(cell.x(), cell.y())) changes.push_back({cell, block[r][c]});
    }
  }
  return changes;
}

CellChanges MovedCells(const QRect& from, const CellBlock& block, CellPosition topLeft) {
  CellChanges changes =
      ChangesTo(RectangleCells(from.topLeft(), from.bottomRight(), false), kEmptyTile);
  const CellChanges placed = PlacedCells(block, topLeft);
  changes.insert(changes.end(), placed.begin(), placed.end());
  return changes;
}

}  // namespace tollwen
