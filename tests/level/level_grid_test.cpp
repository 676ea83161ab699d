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

}  // namespace
}  // namespace tollwen
