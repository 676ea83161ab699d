#include "level/level_grid.h"

#include <gtest/gtest.h>

namespace tollwen {
namespace {

TEST(LevelGridTest, StartsBlank) {
  LevelGrid grid;
  for (int row = 1; row <= LevelGrid::kRows; ++row)
    for (int column = 1; column <= LevelGrid::kColumns; ++column)
      EXPECT_EQ(grid.CellAt(column, row), '0');
}

TEST(LevelGridTest, CellsAreAddressedByColumnThenRowFromOne) {
  LevelGrid grid;
  grid.SetCell(1, 1, 'A');
  grid.SetCell(19, 1, 'B');
  grid.SetCell(1, 13, 'C');
  grid.SetCell(19, 13, 'D');
  grid.SetCell(3, 2, 'E');
  EXPECT_EQ(grid.CellAt(1, 1), 'A');
  EXPECT_EQ(grid.CellAt(19, 1), 'B');
  EXPECT_EQ(grid.CellAt(1, 13), 'C');
  EXPECT_EQ(grid.CellAt(19, 13), 'D');
  EXPECT_EQ(grid.CellAt(3, 2), 'E');
  EXPECT_EQ(grid.CellAt(2, 3), '0');
  EXPECT_FALSE(grid == LevelGrid());

  grid.ResetToBlank();
  EXPECT_EQ(grid, LevelGrid());
}

}  // namespace
}  // namespace tollwen
