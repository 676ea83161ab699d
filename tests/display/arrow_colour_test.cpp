#include "display/arrow_colour.h"

#include <gtest/gtest.h>

#include <array>
#include <stdexcept>

#include "display/brush_copy.h"
#include "display/colours.h"
#include "pixel_helpers.h"

namespace tollwen {
namespace {

using test::CountOf;
using test::DrawnOnto;
using test::Filled;
using test::kBlue;
using test::kGreen;
using test::kRed;
using test::Picture;

// Tile i: white, with a black arrow of i pixels in row i and one red pixel at (31 - i, 0).
// The marker: teal with a black bar.
QImage TileImage(int i) {
  QImage image = Filled(32, 32, kWhite);
  for (int x = 0; x < i; ++x) image.setPixel(x + 2, i, kBlack);
  image.setPixel(31 - i, 0, kRed);
  return image;
}

QImage MarkerImage() {
  QImage image = Filled(32, 32, kTeal);
  for (int x = 8; x < 24; ++x) image.setPixel(x, 16, kBlack);
  return image;
}

// A tile set as the start-up loading leaves it.
void Fill(TileSet& tiles) {
  for (int i = 1; i <= 15; ++i) {
    Bitmap& tile = tiles.TileBitmap(i);
    tile.SetImage(TileImage(i));
    tile.SetTransparentMode(Bitmap::TransparentMode::Automatic);
    tile.SetTransparent(true);
  }
  tiles.StartMarker().SetImage(MarkerImage());
  tiles.StartMarker().SetTransparentMode(Bitmap::TransparentMode::Fixed);
  tiles.StartMarker().SetTransparentColor(kTeal);
  tiles.StartMarker().SetTransparent(true);
}

// `image` with every pixel of colour `from` turned into `to`.
QImage Replaced(QImage image, QRgb from, QRgb to) {
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) == from) image.setPixel(x, y, to);
    }
  }
  return image;
}

TEST(RecolourArrows, FirstChangeMovesBlackAndASecondMovesThoseAndTheFirstColour) {
  TileSet tiles;
  Fill(tiles);
  int ticks = 0;
  RecolourArrows(tiles, kBlack, kRed, [&] { ++ticks; });
  EXPECT_EQ(ticks, 15);
  for (int i = 1; i <= 15; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(tiles.TileBitmap(i).Image(), Replaced(TileImage(i), kBlack, kRed));
    EXPECT_EQ(CountOf(tiles.TileBitmap(i).Image(), kRed), i + 1);
    EXPECT_TRUE(tiles.TileBitmap(i).Transparent());
  }
  EXPECT_EQ(tiles.StartMarker().Image(), Replaced(MarkerImage(), kBlack, kRed));
  EXPECT_TRUE(tiles.StartMarker().Transparent());
  EXPECT_EQ(tiles.StartMarker().TransparentColor(), kTeal);

  // The red pixels that were there before cannot be told from the arrows any more.
  RecolourArrows(tiles, kRed, kBlue);
  for (int i = 1; i <= 15; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(tiles.TileBitmap(i).Image(),
              Replaced(Replaced(TileImage(i), kBlack, kBlue), kRed, kBlue));
  }
  EXPECT_EQ(tiles.StartMarker().Image(), Replaced(MarkerImage(), kBlack, kBlue));
}

TEST(RecolourArrows, TheCurrentColourAgainChangesNothing) {
  TileSet tiles;
  Fill(tiles);
  RecolourArrows(tiles, kBlack, kBlack);
  for (int i = 1; i <= 15; ++i) EXPECT_EQ(tiles.TileBitmap(i).Image(), TileImage(i));
  EXPECT_EQ(tiles.StartMarker().Image(), MarkerImage());
}

TEST(RecolourArrows, BottomLeftOfTheOldColourBecomesTheNewTransparentColour) {
  TileSet tiles;
  Fill(tiles);
  // Tile 3: white arrows on black, so its transparent area is black.
  QImage inverted = Filled(32, 32, kBlack);
  for (int x = 5; x < 20; ++x) inverted.setPixel(x, 9, kWhite);
  tiles.TileBitmap(3).SetImage(inverted);

  const QImage canvas = Picture(32, 32);
  const QImage before = DrawnOnto(canvas, tiles.TileBitmap(3), {0, 0});
  EXPECT_EQ(before.pixel(1, 1), canvas.pixel(1, 1));

  RecolourArrows(tiles, kBlack, kGreen);
  EXPECT_EQ(tiles.TileBitmap(3).TransparentColor(), kGreen);
  const QImage after = DrawnOnto(canvas, tiles.TileBitmap(3), {0, 0});
  EXPECT_EQ(after, before);
}

TEST(RecolourArrows, CachedTransparentCopiesFollow) {
  TileSet tiles;
  Fill(tiles);
  const QImage canvas = Picture(40, 40);
  // Draw every bitmap first, so each has its transparent copy cached.
  for (int i = 1; i <= 15; ++i) (void)DrawnOnto(canvas, tiles.TileBitmap(i), {0, 0});
  (void)DrawnOnto(canvas, tiles.StartMarker(), {0, 0});

  RecolourArrows(tiles, kBlack, kGreen);
  for (int i = 1; i <= 15; ++i) {
    const QImage drawn = DrawnOnto(canvas, tiles.TileBitmap(i), {0, 0});
    EXPECT_EQ(drawn.pixel(2, i), kGreen) << i;
  }
  const QImage marker = DrawnOnto(canvas, tiles.StartMarker(), {0, 0});
  EXPECT_EQ(marker.pixel(8, 16), kGreen);
  EXPECT_EQ(marker.pixel(0, 0), canvas.pixel(0, 0));
}

TEST(RecolourArrows, OnlyTheTopLeftCellSquareOfOtherSizes) {
  TileSet tiles;
  Fill(tiles);
  tiles.TileBitmap(1).SetImage(Filled(40, 36, kBlack));
  tiles.TileBitmap(2).SetImage(Filled(16, 8, kBlack));
  tiles.TileBitmap(4) = Bitmap();  // never loaded

  RecolourArrows(tiles, kBlack, kRed);

  const QImage& large = tiles.TileBitmap(1).Image();
  ASSERT_EQ(large.size(), QSize(40, 36));
  for (int y = 0; y < 36; ++y) {
    for (int x = 0; x < 40; ++x) {
      ASSERT_EQ(large.pixel(x, y), x < 32 && y < 32 ? kRed : kBlack) << x << "," << y;
    }
  }
  EXPECT_EQ(tiles.TileBitmap(2).Image(), Filled(16, 8, kRed));
  EXPECT_TRUE(tiles.TileBitmap(4).Empty());
  EXPECT_EQ(tiles.TileBitmap(5).Image(), Replaced(TileImage(5), kBlack, kRed));
}

TEST(RecolourArrows, SwitchesTransparencyOnForAMarkerThatHadItOff) {
  // As after a start-up that stopped before the marker got its fixed colour.
  TileSet tiles;
  Fill(tiles);
  tiles.StartMarker().SetTransparent(false);
  RecolourArrows(tiles, kBlack, kRed);
  EXPECT_TRUE(tiles.StartMarker().Transparent());
}

TEST(BrushCopy, ClipsToBothImagesAndComparesRgbOnly) {
  const QImage source = TileImage(6);
  QImage destination = Filled(20, 20, kBlue);
  // From (4, 4) of the source onto (10, 2) of the destination: only 10 x 18 of the 28 x 28
  // square fit.
  BrushCopy(destination, {10, 2}, source, QRect(4, 4, 28, 28), 0x00000000, kGreen);
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 20; ++x) {
      QRgb expected = kBlue;
      if (x >= 10 && y >= 2) {
        const QRgb own = source.pixel(x - 10 + 4, y - 2 + 4);
        expected = own == kBlack ? kGreen : own;
      }
      ASSERT_EQ(destination.pixel(x, y), expected) << x << "," << y;
    }
  }
}

TEST(BrushCopy, OntoItselfAndFromOtherFormats) {
  QImage image = TileImage(5);
  BrushCopy(image, {1, 0}, image, QRect(0, 0, 31, 32), kBlack, kRed);
  const QImage expected = Replaced(TileImage(5), kBlack, kRed);
  for (int y = 0; y < 32; ++y) {
    for (int x = 1; x < 32; ++x) ASSERT_EQ(image.pixel(x, y), expected.pixel(x - 1, y));
  }

  QImage indexed(4, 4, QImage::Format_Indexed8);
  indexed.setColorTable({kBlack, kWhite});
  indexed.fill(1);
  indexed.setPixel(1, 1, 0);
  QImage destination = Filled(4, 4, kBlue);
  BrushCopy(destination, {0, 0}, indexed, indexed.rect(), kBlack, kGreen);
  EXPECT_EQ(destination.pixel(1, 1), kGreen);
  EXPECT_EQ(destination.pixel(0, 0), kWhite);
  EXPECT_EQ(destination.format(), QImage::Format_RGB32);
}

TEST(TileSet, IndexesOneToFifteenAndClears) {
  TileSet tiles;
  Fill(tiles);
  EXPECT_EQ(tiles.TileBitmap(15).Image(), TileImage(15));
  EXPECT_THROW(tiles.TileBitmap(0), std::out_of_range);
  EXPECT_THROW(tiles.TileBitmap(16), std::out_of_range);

  tiles.Clear();
  for (int i = 1; i <= 15; ++i) EXPECT_TRUE(tiles.TileBitmap(i).Empty());
  EXPECT_TRUE(tiles.StartMarker().Empty());
  const QImage canvas = Picture(32, 32);
  EXPECT_EQ(DrawnOnto(canvas, tiles.StartMarker(), {0, 0}), canvas);
}

}  // namespace
}  // namespace tollwen
