#pragma once

#include <QRect>
#include <string>
#include <vector>

#include "level/cell_change.h"
#include "level/level_grid.h"

namespace tollwen {

// A block of level cells' codes, row by row, as the clipboard carries it; rows may differ in
// length.
using CellBlock = std::vector<std::string>;

// The codes of `cells` (column and row numbers) in `grid`.
CellBlock BlockOf(const LevelGrid& grid, const QRect& cells);

// The block's width (its longest row) and height.
QSize SizeOf(const CellBlock& block);

// The changes that put `block` into the level with its first code at `topLeft`; cells that
// would lie beyond the level's edge are left out.
CellChanges PlacedCells(const CellBlock& block, CellPosition topLeft);

// The changes that lift the cells of `from` out of the level, emptying them, and put `block`
// with its first code at `topLeft`, as far as it lies in the level. Where the two overlap the
// block's code comes later, so it is the one that stays.
CellChanges MovedCells(const QRect& from, const CellBlock& block, CellPosition topLeft);

// How a block can be turned over or round.
enum class BlockTurn {
  kFlipHorizontally,        // across its vertical axis: left and right swap
  kFlipVertically,          // across its horizontal axis: top and bottom swap
  kRotateClockwise,         // a quarter turn
  kRotateCounterClockwise,  // a quarter turn back
};

// The block turned; each conveyor turns with its cell, so that it carries things the same way
// through the block (a flip across the vertical axis makes Right Left, a clockwise turn makes Up
// Right). Short rows count as filled up with empty cells.
CellBlock Turned(const CellBlock& block, BlockTurn turn);

}  // namespace tollwen
