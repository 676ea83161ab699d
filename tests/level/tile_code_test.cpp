#include "level/tile_code.h"

#include <gtest/gtest.h>

#include <string>

#include "level/errors.h"

namespace tollwen {
namespace {

std::string TileIndexError(TileCode code) {
  try {
    TileIndexOf(code);
  } catch (const EditorError& error) {
    return error.what();
  }
  return "no error";
}

TEST(TileCodeTest, HexDigitsOfEitherCaseNameTiles1To15) {
  const std::string upper = "123456789ABCDEF";
  const std::string lower = "123456789abcdef";
  for (int index = 1; index <= kTileCount; ++index) {
    EXPECT_EQ(TileIndexOf(upper[index - 1]), index);
    EXPECT_EQ(TileIndexOf(lower[index - 1]), index);
  }
}

TEST(TileCodeTest, NonDigitsAreRefusedWithTheConvertedText) {
  EXPECT_EQ(TileIndexError('G'), "'$G' is not a valid integer value");
  EXPECT_EQ(TileIndexError('g'), "'$g' is not a valid integer value");
  EXPECT_EQ(TileIndexError(' '), "'$ ' is not a valid integer value");
  EXPECT_EQ(TileIndexError('-'), "'$-' is not a valid integer value");
  EXPECT_EQ(TileIndexError('\x1a'), "'$\x1a' is not a valid integer value");
  EXPECT_EQ(TileIndexError('\0'), "'$' is not a valid integer value");
}

TEST(TileCodeTest, TheEmptyCodeIsOutOfRange) {
  EXPECT_EQ(TileIndexError('0'), "Range check error");
}

TEST(TileCodeTest, CodesWrittenAreUpperCaseAndReadBack) {
  EXPECT_EQ(TileCodeFor(0), kEmptyTile);
  EXPECT_EQ(TileCodeFor(9), '9');
  EXPECT_EQ(TileCodeFor(10), 'A');
  EXPECT_EQ(TileCodeFor(15), 'F');
  for (int index = 1; index <= kTileCount; ++index)
    EXPECT_EQ(TileIndexOf(TileCodeFor(index)), index);
  EXPECT_THROW(TileCodeFor(16), EditorError);
  EXPECT_THROW(TileCodeFor(-1), EditorError);
}

}  // namespace
}  // namespace tollwen
