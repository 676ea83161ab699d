// The tiles' names: the labels the tool tips show, and the READMEs that list the same names.
#include "display/tile_names.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <utility>

namespace tollwen {
namespace {

TEST(TileNamesTest, LabelsNameTilesAndSayWhatIsNotATile) {
  const std::pair<TileCode, std::string> cases[] = {
      {'0', "Eraser (0)"},
      {'9', "Water (9)"},
      {'E', "Bomb (E)"},
      {'e', "Bomb (e)"},  // the grid draws lower-case codes read from a file as tiles
      {'G', "'G' is not a tile code"},
      {' ', "' ' is not a tile code"},
      {'\x07', "byte 0x07 is not a tile code"},
      {'\xE9', "byte 0xE9 is not a tile code"},
  };
  for (const auto& [code, label] : cases) EXPECT_EQ(TileLabel(code), label) << int{code};
  for (int i = 0; i <= kTileCount; ++i) EXPECT_EQ(kTileNames[i].code, TileCodeFor(i)) << i;
}

TEST(TileNamesTest, ReadmesListEveryTileByItsName) {
  for (const char* file : {"/README.md", "/assets/README.md"}) {
    std::ifstream in(std::string(TOLLWEN_SOURCE_DIR) + file);
    ASSERT_TRUE(in) << file;
    std::stringstream text;
    text << in.rdbuf();
    for (const NamedTile& tile : kTileNames) {
      const std::string row =
          std::string("| `") + tile.code + "` | " + std::string(tile.name) + " |";
      EXPECT_NE(text.str().find(row), std::string::npos) << file << " lacks " << row;
    }
  }
}

}  // namespace
}  // namespace tollwen
