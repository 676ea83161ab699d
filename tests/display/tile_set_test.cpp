#include "display/tile_set.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "display/colours.h"
#include "level/errors.h"
#include "pixel_helpers.h"
#include "support/bmp_builder.h"

namespace tollwen {
namespace {

using test::DrawnOnto;
using test::Filled;
using test::Picture;

constexpr const char* kFileNames[] = {"1.bmp", "2.bmp", "3.bmp", "4.bmp", "5.bmp",
                                      "6.bmp", "7.bmp", "8.bmp", "9.bmp", "A.bmp",
                                      "B.bmp", "C.bmp", "D.bmp", "E.bmp", "F.bmp"};

// Tile i: white with a black arrow of i pixels in row i; tile 9 is larger than a cell.
QImage TileImage(int i) {
  QImage image = i == 9 ? Filled(40, 36, kWhite) : Filled(32, 32, kWhite);
  for (int x = 0; x < i; ++x) image.setPixel(x + 1, i, kBlack);
  return image;
}

QImage MarkerImage() {
  QImage image = Filled(32, 32, kTeal);
  for (int x = 4; x < 28; ++x) image.setPixel(x, 16, kBlack);
  image.setPixel(0, 31, kBlack);  // must not decide the marker's transparent colour
  return image;
}

// A resource directory with the marker and every tile except those named in `leaveOut`.
class LoadAssetsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(tempDir_.isValid());
    dir_ = tempDir_.path().toStdString() + "/";
  }

  void WriteAssets(const std::vector<std::string>& leaveOut = {}) {
    auto wanted = [&](const std::string& name) {
      for (const auto& left : leaveOut) {
        if (left == name) return false;
      }
      return true;
    };
    if (wanted("start.bmp")) WriteBmp24(dir_ + "start.bmp", MarkerImage());
    for (int i = 1; i <= 15; ++i) {
      if (wanted(kFileNames[i - 1])) WriteBmp24(dir_ + kFileNames[i - 1], TileImage(i));
    }
  }

  // Runs the loading and returns the error message, empty when it succeeded.
  std::string Load() {
    try {
      LoadAssets(dir_, tiles_, [this] { ++ticks_; });
    } catch (const EditorError& error) {
      return error.what();
    }
    return {};
  }

  QTemporaryDir tempDir_;
  std::string dir_;
  TileSet tiles_;
  int ticks_ = 0;
};

TEST_F(LoadAssetsTest, LoadsMarkerThenEachTileWithItsTransparency) {
  WriteAssets();
  // At each tick exactly the tiles so far are loaded, and the marker has no fixed colour yet.
  std::vector<int> loadedAtTick;
  LoadAssets(dir_, tiles_, [&] {
    int loaded = 0;
    for (int i = 1; i <= 15; ++i) loaded += tiles_.TileBitmap(i).Empty() ? 0 : 1;
    loadedAtTick.push_back(loaded);
    EXPECT_FALSE(tiles_.StartMarker().Empty());
    EXPECT_FALSE(tiles_.StartMarker().Transparent());
  });
  EXPECT_EQ(loadedAtTick, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}));

  for (int i = 1; i <= 15; ++i) {
    SCOPED_TRACE(i);
    const Bitmap& tile = tiles_.TileBitmap(i);
    EXPECT_EQ(tile.Image().format(), QImage::Format_RGB32);
    EXPECT_EQ(tile.Image(), TileImage(i));
    EXPECT_TRUE(tile.Transparent());
    EXPECT_EQ(tile.Mode(), Bitmap::TransparentMode::Automatic);
    EXPECT_EQ(tile.TransparentColor(), kWhite);
  }
  const Bitmap& marker = tiles_.StartMarker();
  EXPECT_EQ(marker.Image(), MarkerImage());
  EXPECT_TRUE(marker.Transparent());
  EXPECT_EQ(marker.Mode(), Bitmap::TransparentMode::Fixed);
  EXPECT_EQ(marker.TransparentColor(), kTeal);

  // Drawn as loaded: the marker's teal and the tiles' white leave the picture showing.
  const QImage canvas = Picture(64, 64);
  const QImage withMarker = DrawnOnto(canvas, marker, {0, 0});
  EXPECT_EQ(withMarker.pixel(0, 0), canvas.pixel(0, 0));
  EXPECT_EQ(withMarker.pixel(0, 31), kBlack);
  const QImage withTile = DrawnOnto(canvas, tiles_.TileBitmap(9), {0, 0});
  EXPECT_EQ(withTile.pixel(39, 35), canvas.pixel(39, 35));
  EXPECT_EQ(withTile.pixel(9, 9), kBlack);
}

TEST_F(LoadAssetsTest, MissingMarkerLeavesEveryBitmapUnloaded) {
  WriteAssets({"start.bmp"});
  // Whatever an earlier load left is gone too.
  tiles_.TileBitmap(1).SetImage(Filled(32, 32, kBlack));
  tiles_.StartMarker().SetImage(Filled(32, 32, kBlack));

  EXPECT_EQ(Load(), "Cannot open file " + dir_ + "start.bmp");
  EXPECT_EQ(ticks_, 0);
  for (int i = 1; i <= 15; ++i) EXPECT_TRUE(tiles_.TileBitmap(i).Empty()) << i;
  EXPECT_TRUE(tiles_.StartMarker().Empty());
  const QImage canvas = Picture(32, 32);
  EXPECT_EQ(DrawnOnto(canvas, tiles_.TileBitmap(1), {0, 0}), canvas);
}

TEST_F(LoadAssetsTest, MissingTileStopsTheLoadingThere) {
  WriteAssets({"7.bmp"});
  EXPECT_EQ(Load(), "Cannot open file " + dir_ + "7.bmp");
  EXPECT_EQ(ticks_, 6);
  for (int i = 1; i <= 6; ++i) {
    EXPECT_EQ(tiles_.TileBitmap(i).Image(), TileImage(i)) << i;
    EXPECT_TRUE(tiles_.TileBitmap(i).Transparent()) << i;
  }
  for (int i = 7; i <= 15; ++i) EXPECT_TRUE(tiles_.TileBitmap(i).Empty()) << i;
  // The marker is loaded but never got its fixed transparent colour.
  EXPECT_EQ(tiles_.StartMarker().Image(), MarkerImage());
  EXPECT_FALSE(tiles_.StartMarker().Transparent());
}

TEST_F(LoadAssetsTest, FileNamesUseUpperCaseHexDigits) {
  WriteAssets({"A.bmp"});
  WriteBmp24(dir_ + "a.bmp", TileImage(10));
  EXPECT_EQ(Load(), "Cannot open file " + dir_ + "A.bmp");
  EXPECT_EQ(ticks_, 9);
  EXPECT_TRUE(tiles_.TileBitmap(10).Empty());
}

TEST_F(LoadAssetsTest, EmptyFileGivesAnEmptyTileAndLoadingGoesOn) {
  WriteAssets();
  WriteFileBytes(dir_ + "3.bmp", std::vector<std::byte>{});
  EXPECT_EQ(Load(), "");
  EXPECT_EQ(ticks_, 15);
  EXPECT_TRUE(tiles_.TileBitmap(3).Empty());
  EXPECT_EQ(tiles_.TileBitmap(4).Image(), TileImage(4));
  EXPECT_TRUE(tiles_.StartMarker().Transparent());
  const QImage canvas = Picture(32, 32);
  EXPECT_EQ(DrawnOnto(canvas, tiles_.TileBitmap(3), {0, 0}), canvas);
}

TEST_F(LoadAssetsTest, FailedLoadKeepsTheBitmapAsItWas) {
  Bitmap bitmap;
  bitmap.SetImage(TileImage(2));
  EXPECT_THROW(bitmap.LoadFromFile(dir_ + "missing.bmp"), EditorError);
  EXPECT_EQ(bitmap.Image(), TileImage(2));
}

// The bitmaps that ship with the editor, as the build puts them beside the executable.
TEST(ShippedAssets, LoadFromTheExecutablesDirectory) {
  TileSet tiles;
  LoadAssets(QCoreApplication::applicationDirPath().toStdString() + "/", tiles);
  for (int i = 1; i <= 15; ++i) {
    SCOPED_TRACE(i);
    const Bitmap& tile = tiles.TileBitmap(i);
    EXPECT_EQ(tile.Image().size(), QSize(32, 32));
    EXPECT_TRUE(tile.Transparent());
    // The bottom-left pixel, the transparent colour, is never the arrow colour or teal.
    EXPECT_NE(tile.TransparentColor(), kBlack);
    EXPECT_NE(tile.TransparentColor(), kTeal);
  }
  const Bitmap& marker = tiles.StartMarker();
  EXPECT_EQ(marker.Image().size(), QSize(32, 32));
  EXPECT_EQ(marker.TransparentColor(), kTeal);
  EXPECT_GT(test::CountOf(marker.Image(), kTeal), 0);
  EXPECT_GT(test::CountOf(marker.Image(), kBlack), 0);
}

}  // namespace
}  // namespace tollwen
