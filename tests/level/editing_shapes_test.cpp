// The cells that the editing tools change: lines, rectangles, fill regions, conveyor paths and
// the clipboard text of a block of cells.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "level/cell_block.h"
#include "level/cell_shapes.h"
#include "level/clipboard_text.h"
#include "level/conveyor_path.h"
#include "level/fill_region.h"

namespace tollwen {
namespace {

using Cells = std::vector<CellPosition>;

// Cells written as "column,row column,row ...".
Cells CellsOf(const std::string& text) {
  Cells cells;
  std::size_t at = 0;
  while (at < text.size()) {
    int column = 0;
    int row = 0;
    int used = 0;
    if (std::sscanf(text.c_str() + at, " %d,%d%n", &column, &row, &used) != 2) break;
    cells.emplace_back(column, row);
    at += static_cast<std::size_t>(used);
  }
  return cells;
}

// A level whose rows are given from row 1 on; rows not given are blank.
LevelGrid GridOf(const std::vector<std::string>& rows) {
  LevelGrid grid;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (std::size_t c = 0; c < rows[r].size(); ++c) {
      grid.SetCell(static_cast<int>(c) + 1, static_cast<int>(r) + 1, rows[r][c]);
    }
  }
  return grid;
}

// The cells that `changes` change, and the codes they give, in order.
Cells ChangedCells(const CellChanges& changes) {
  Cells cells;
  for (const CellChange& change : changes) cells.push_back(change.cell);
  return cells;
}
std::string CodesOf(const CellChanges& changes) {
  std::string codes;
  for (const CellChange& change : changes) codes += change.code;
  return codes;
}

TEST(LineCellsTest, ExactOnTheAxesAndDiagonalsOneCellPerStepOtherwise) {
  struct Case {
    CellPosition from, to;
    const char* cells;
  };
  const Case cases[] = {
      {{3, 3}, {3, 3}, "3,3"},
      {{1, 1}, {5, 1}, "1,1 2,1 3,1 4,1 5,1"},
      {{2, 4}, {2, 1}, "2,4 2,3 2,2 2,1"},
      {{1, 1}, {4, 4}, "1,1 2,2 3,3 4,4"},
      {{5, 1}, {2, 4}, "5,1 4,2 3,3 2,4"},
      {{1, 1}, {5, 3}, "1,1 2,2 3,2 4,3 5,3"},  // halves round away from the start
      {{1, 1}, {2, 5}, "1,1 1,2 2,3 2,4 2,5"},
      {{5, 3}, {1, 1}, "5,3 4,2 3,2 2,1 1,1"},
  };
  for (const Case& c : cases) EXPECT_EQ(LineCells(c.from, c.to), CellsOf(c.cells)) << c.cells;
}

TEST(SegmentCellsTest, EveryCellTheSegmentCrossesAndTheDiagonalThroughACorner) {
  struct Case {
    QPointF from, to;
    const char* cells;
  };
  const Case cases[] = {
      {{1.5, 1.5}, {1.2, 1.9}, "1,1"},
      {{1.5, 1.5}, {4.5, 1.5}, "1,1 2,1 3,1 4,1"},
      {{1.25, 1.5}, {4.75, 2.25}, "1,1 2,1 3,1 3,2 4,2"},
      {{4.75, 2.25}, {1.25, 1.5}, "4,2 3,2 3,1 2,1 1,1"},
      {{1.5, 1.5}, {3.5, 3.5}, "1,1 2,2 3,3"},  // through two corners
      {{0.5, 3.5}, {2.5, 3.25}, "0,3 1,3 2,3"},
      {{2.5, 0.75}, {10.5, 0.5}, "2,0 3,0 4,0 5,0 6,0 7,0 8,0 9,0 10,0"},
  };
  for (const Case& c : cases) EXPECT_EQ(SegmentCells(c.from, c.to), CellsOf(c.cells)) << c.cells;
}

TEST(RectangleCellsTest, FilledOrOutlineWhicheverCornersAreGiven) {
  EXPECT_EQ(RectangleCells({3, 2}, {1, 1}, false), CellsOf("1,1 2,1 3,1 1,2 2,2 3,2"));
  EXPECT_EQ(RectangleCells({1, 1}, {3, 3}, true), CellsOf("1,1 2,1 3,1 1,2 3,2 1,3 2,3 3,3"));
  EXPECT_EQ(RectangleCells({4, 4}, {4, 4}, true), CellsOf("4,4"));
  EXPECT_EQ(RectangleCells({1, 1}, {19, 13}, true).size(), 60u);  // a border of walls
  EXPECT_EQ(RectangleCells({2, 2}, {18, 12}, false).size(), 187u);
}

TEST(FillRegionTest, SameCodeThroughSideNeighboursOnly) {
  const LevelGrid grid = GridOf({
      "5550000000000000000",
      "5005000000000000000",
      "5550000000000000000",
      "0005000000000000000",
  });
  // The inside of the wall is closed: diagonal neighbours do not connect.
  EXPECT_EQ(FillRegion(grid, {2, 2}).size(), 2u);
  EXPECT_THAT(FillRegion(grid, {1, 1}),
              ::testing::UnorderedElementsAreArray(CellsOf("1,1 2,1 3,1 1,2 1,3 2,3 3,3")));
  // Everything else empty, up to the level's edge: 247 cells less the 9 walls and the 2 inside.
  EXPECT_EQ(FillRegion(grid, {19, 13}).size(), 19u * 13u - 9u - 2u);
  EXPECT_TRUE(FillRegion(grid, {0, 1}).empty());
}

TEST(ConveyorPathTest, EachCellPointsToTheNextTheLastKeepsItsDirectionAndALoopCloses) {
  struct Case {
    const char* passed;
    const char* cells;
    const char* codes;
  };
  const Case cases[] = {
      {"1,1 2,1 3,1", "1,1 2,1 3,1", "222"},
      {"3,3 3,2 2,2 2,3", "3,3 3,2 2,2 2,3", "1433"},
      {"1,1 2,2", "1,1 2,1 2,2", "233"},               // a diagonal step goes through a side cell
      {"1,1 4,1", "1,1 2,1 3,1 4,1", "2222"},          // a jump is filled in
      {"5,5 6,5 7,5 6,5", "5,5 6,5 7,5 6,5", "2244"},  // crossed twice: the later step
      {"5,5 6,5 5,5", "5,5 6,5 5,5", "242"},           // ends where it began: a loop
      {"1,1 3,1 3,2 1,2 1,1", "1,1 2,1 3,1 3,2 2,2 1,2 1,1", "2234412"},
      {"7,7", "", ""},  // no step: no direction
      {"7,7 7,7 7,8", "7,7 7,8", "33"},
  };
  for (const Case& c : cases) {
    const CellChanges path = ConveyorPath(CellsOf(c.passed));
    EXPECT_EQ(ChangedCells(path), CellsOf(c.cells)) << c.passed;
    EXPECT_EQ(CodesOf(path), c.codes) << c.passed;
  }
}

TEST(ClipboardTextTest, RowsOfTileCodesRoundTripAndAnythingElseIsRefused) {
  const LevelGrid grid = GridOf({"1234", "5678", "9ABC"});
  const std::string text = CellsAsText(grid, QRect(2, 1, 3, 3));
  EXPECT_EQ(text, "234\n678\nABC\n");
  const auto rows = RowsFromText(text);
  ASSERT_TRUE(rows);
  EXPECT_EQ(*rows, (std::vector<std::string>{"234", "678", "ABC"}));

  struct Case {
    const char* text;
    std::vector<std::string> rows;  // empty: refused
  };
  const Case cases[] = {
      {"0f\r\n5\r\n", {"0F", "5"}},  // CR LF, lower case, rows of their own lengths
      {"12\n\n\n", {"12"}},         {"", {}},   {"12\n\n34", {}}, {"12 34", {}},
      {"tune.mod\n0000", {}},       {"1G", {}},
  };
  for (const Case& c : cases) {
    const auto parsed = RowsFromText(c.text);
    if (c.rows.empty()) {
      EXPECT_FALSE(parsed) << c.text;
    } else {
      EXPECT_EQ(parsed.value_or(std::vector<std::string>{}), c.rows) << c.text;
    }
  }
}

TEST(CellBlockTest, TurnedBlocksTurnTheirConveyorsWithThem) {
  const CellBlock block = {"1234", "5"};  // the short row counts as "5000"
  const struct {
    BlockTurn turn;
    CellBlock turned;
  } cases[] = {
      {BlockTurn::kFlipHorizontally, {"2341", "0005"}},
      {BlockTurn::kFlipVertically, {"5000", "3214"}},
      {BlockTurn::kRotateClockwise, {"52", "03", "04", "01"}},
      {BlockTurn::kRotateCounterClockwise, {"30", "20", "10", "45"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Turned(block, c.turn), c.turned) << c.turned[0];
  CellBlock round = block;
  for (int quarter = 0; quarter < 4; ++quarter) round = Turned(round, BlockTurn::kRotateClockwise);
  EXPECT_EQ(round, (CellBlock{"1234", "5000"}));
}

TEST(CellBlockTest, PlacedBlocksDropTheCellsBeyondTheLevelsEdge) {
  struct Case {
    CellPosition at;
    const char* cells;  // where the codes 1 2 3 / 4 5 6 land, in order
    const char* codes;
  };
  const Case cases[] = {
      {{5, 5}, "5,5 6,5 7,5 5,6 6,6 7,6", "123456"},
      {{18, 12}, "18,12 19,12 18,13 19,13", "1245"},
      {{-1, 0}, "1,1", "6"},
      {{19, 14}, "", ""},
  };
  for (const Case& c : cases) {
    const CellChanges placed = PlacedCells({"123", "456"}, c.at);
    EXPECT_EQ(ChangedCells(placed), CellsOf(c.cells)) << c.cells;
    EXPECT_EQ(CodesOf(placed), c.codes) << c.cells;
  }
}

}  // namespace
}  // namespace tollwen
