#include "level/cell_block.h"

#include <algorithm>

#include "level/cell_shapes.h"
#include "level/conveyor_path.h"
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

namespace {

// The conveyors in clockwise order.
constexpr TileCode kClockwise[] = {kConveyorUp, kConveyorRight, kConveyorDown, kConveyorLeft};

// The code of a cell turned with its block: conveyors change direction, other tiles stay.
TileCode TurnedCode(TileCode code, BlockTurn turn) {
  const auto* found = std::find(std::begin(kClockwise), std::end(kClockwise), code);
  if (found == std::end(kClockwise)) return code;
  const int direction = static_cast<int>(found - std::begin(kClockwise));
  const bool vertical = direction % 2 == 0;
  int steps = 0;
  switch (turn) {
    case BlockTurn::kFlipHorizontally:
      steps = vertical ? 0 : 2;
      break;
    case BlockTurn::kFlipVertically:
      steps = vertical ? 2 : 0;
      break;
    case BlockTurn::kRotateClockwise:
      steps = 1;
      break;
    case BlockTurn::kRotateCounterClockwise:
      steps = 3;
      break;
  }
  return kClockwise[(direction + steps) % 4];
}

}  // namespace

CellBlock Turned(const CellBlock& block, BlockTurn turn) {
  const QSize size = SizeOf(block);
  const int width = size.width();
  const int height = size.height();
  const auto at = [&](int row, int column) {
    const std::string& codes = block[static_cast<std::size_t>(row)];
    return static_cast<std::size_t>(column) < codes.size() ? codes[static_cast<std::size_t>(column)]
                                                           : kEmptyTile;
  };
  const bool quarter =
      turn == BlockTurn::kRotateClockwise || turn == BlockTurn::kRotateCounterClockwise;
  const int rows = quarter ? width : height;
  const int columns = quarter ? height : width;
  CellBlock turned(static_cast<std::size_t>(rows),
                   std::string(static_cast<std::size_t>(columns), kEmptyTile));
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < columns; ++c) {
      TileCode code = kEmptyTile;
      switch (turn) {
        case BlockTurn::kFlipHorizontally:
          code = at(r, width - 1 - c);
          break;
        case BlockTurn::kFlipVertically:
          code = at(height - 1 - r, c);
          break;
        case BlockTurn::kRotateClockwise:
          code = at(height - 1 - c, r);
          break;
        case BlockTurn::kRotateCounterClockwise:
          code = at(c, width - 1 - r);
          break;
      }
      turned[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] = TurnedCode(code, turn);
    }
  }
  return turned;
}

}  // namespace tollwen
