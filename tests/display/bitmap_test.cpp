#include "display/bitmap.h"

#include <gtest/gtest.h>

#include <QPainter>

#include "display/colours.h"
#include "pixel_helpers.h"

namespace tollwen {
namespace {

using test::DrawnOnto;
using test::Filled;
using test::Picture;

// Checks every pixel of `drawn`: inside the bitmap a pixel of any colour but `transparent`
// replaces the canvas; everywhere else the canvas is untouched.
::testing::AssertionResult DrawnExactly(const QImage& canvas, const QImage& drawn,
                                        const QImage& tile, QPoint at, QRgb transparent) {
  for (int y = 0; y < canvas.height(); ++y) {
    for (int x = 0; x < canvas.width(); ++x) {
      const QPoint inTile = QPoint(x, y) - at;
      QRgb expected = canvas.pixel(x, y);
      if (tile.rect().contains(inTile)) {
        const QRgb own = tile.pixel(inTile);
        if ((own & 0xFFFFFF) != (transparent & 0xFFFFFF)) expected = own;
      }
      if (drawn.pixel(x, y) != expected) {
        return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is " << std::hex
                                             << drawn.pixel(x, y) << ", expected " << expected;
      }
    }
  }
  return ::testing::AssertionSuccess();
}

// A 32 x 32 tile on white: a black arrow frame enclosing white pixels, a teal dot and a red one.
QImage WhiteTile() {
  QImage tile = Filled(32, 32, kWhite);
  for (int i = 4; i < 28; ++i) {
    tile.setPixel(i, 4, kBlack);
    tile.setPixel(i, 27, kBlack);
    tile.setPixel(4, i, kBlack);
    tile.setPixel(27, i, kBlack);
  }
  tile.setPixel(10, 10, kTeal);
  tile.setPixel(20, 12, test::kRed);
  return tile;
}

Bitmap AutomaticBitmap(const QImage& image) {
  Bitmap bitmap;
  bitmap.SetImage(image);
  bitmap.SetTransparentMode(Bitmap::TransparentMode::Automatic);
  bitmap.SetTransparent(true);
  return bitmap;
}

TEST(BitmapDraw, BottomLeftWhiteLeavesEveryWhitePixelUnpainted) {
  const QImage canvas = Picture(64, 48);
  const Bitmap tile = AutomaticBitmap(WhiteTile());
  EXPECT_EQ(tile.TransparentColor(), kWhite);

  const QImage drawn = DrawnOnto(canvas, tile, {7, 5});
  // The white inside the frame is transparent too; black, teal and red are copied.
  EXPECT_TRUE(DrawnExactly(canvas, drawn, WhiteTile(), {7, 5}, kWhite));
  EXPECT_EQ(drawn.pixel(7 + 10, 5 + 10), kTeal);
  EXPECT_EQ(drawn.pixel(7 + 15, 5 + 15), canvas.pixel(7 + 15, 5 + 15));
}

TEST(BitmapDraw, FixedTealMarkerNeverCoversThePictureButTealInATileIsDrawn) {
  const QImage canvas = Picture(96, 64);

  // The marker: teal all round a black block, and a black bottom-left pixel, which must not
  // count when the colour is fixed.
  QImage markerImage = Filled(32, 32, kTeal);
  for (int y = 8; y < 24; ++y) {
    for (int x = 8; x < 24; ++x) markerImage.setPixel(x, y, kBlack);
  }
  markerImage.setPixel(0, 31, kBlack);
  Bitmap marker;
  marker.SetImage(markerImage);
  marker.SetTransparentMode(Bitmap::TransparentMode::Fixed);
  marker.SetTransparentColor(kTeal);
  marker.SetTransparent(true);
  EXPECT_EQ(marker.TransparentColor(), kTeal);

  const QImage withMarker = DrawnOnto(canvas, marker, {40, 20});
  EXPECT_TRUE(DrawnExactly(canvas, withMarker, markerImage, {40, 20}, kTeal));
  EXPECT_EQ(withMarker.pixel(40, 20 + 31), kBlack);

  const Bitmap tile = AutomaticBitmap(WhiteTile());
  const QImage withTile = DrawnOnto(canvas, tile, {0, 0});
  EXPECT_EQ(withTile.pixel(10, 10), kTeal);
}

TEST(BitmapDraw, ColoursCompareOnRgbOnly) {
  const QImage canvas = Picture(40, 40);
  QImage image = Filled(32, 32, kTeal);
  image.setPixel(3, 3, kBlack);
  Bitmap bitmap;
  bitmap.SetImage(image);
  bitmap.SetTransparentMode(Bitmap::TransparentMode::Fixed);
  // The same colour with a zero alpha byte, as a colour value may come from elsewhere.
  bitmap.SetTransparentColor(0x00008080);
  bitmap.SetTransparent(true);

  const QImage drawn = DrawnOnto(canvas, bitmap, {0, 0});
  EXPECT_TRUE(DrawnExactly(canvas, drawn, image, {0, 0}, kTeal));
}

TEST(BitmapDraw, LargerThanACellDrawsAtItsOwnSize) {
  const QImage canvas = Picture(100, 80);
  QImage image = Filled(45, 37, test::kBlue);
  image.setPixel(0, 36, kWhite);  // the transparent colour, in the bottom-left corner only
  const Bitmap tile = AutomaticBitmap(image);

  const QImage drawn = DrawnOnto(canvas, tile, {30, 20});
  EXPECT_TRUE(DrawnExactly(canvas, drawn, image, {30, 20}, kWhite));
  EXPECT_EQ(drawn.pixel(30 + 44, 20 + 36), test::kBlue);
  EXPECT_EQ(drawn.pixel(30 + 45, 20 + 36), canvas.pixel(30 + 45, 20 + 36));
}

TEST(BitmapDraw, OpaqueWhenTransparencyIsOffAndNothingWhenEmpty) {
  const QImage canvas = Picture(40, 40);
  Bitmap tile = AutomaticBitmap(WhiteTile());
  tile.SetTransparent(false);
  const QImage opaque = DrawnOnto(canvas, tile, {4, 4});
  EXPECT_TRUE(DrawnExactly(canvas, opaque, WhiteTile(), {4, 4}, /*nothing transparent*/ 1));

  Bitmap empty;
  empty.SetTransparent(true);
  EXPECT_TRUE(empty.Empty());
  EXPECT_EQ(DrawnOnto(canvas, empty, {0, 0}), canvas);
  empty.SetTransparent(false);
  EXPECT_EQ(DrawnOnto(canvas, empty, {0, 0}), canvas);
}

TEST(BitmapDraw, ImagesOfOtherFormatsAreHeldOpaqueAt32Bits) {
  QImage indexed(8, 8, QImage::Format_Indexed8);
  indexed.setColorTable({kWhite, test::kRed});
  indexed.fill(0);
  indexed.setPixel(2, 2, 1);
  Bitmap bitmap = AutomaticBitmap(indexed);
  EXPECT_EQ(bitmap.Image().format(), QImage::Format_RGB32);

  const QImage canvas = Picture(8, 8);
  const QImage drawn = DrawnOnto(canvas, bitmap, {0, 0});
  EXPECT_EQ(drawn.pixel(2, 2), test::kRed);
  EXPECT_EQ(drawn.pixel(3, 3), canvas.pixel(3, 3));
}

// The transparent copy is cached between draws; every way of changing the pixels or the
// transparent colour must show on the next draw.
TEST(BitmapCache, FollowsPixelAndColourChanges) {
  const QImage canvas = Picture(40, 40);
  Bitmap tile = AutomaticBitmap(WhiteTile());
  (void)DrawnOnto(canvas, tile, {0, 0});

  // Pixels written through a reference kept from MutableImage(), after a draw.
  QImage& pixels = tile.MutableImage();
  (void)DrawnOnto(canvas, tile, {0, 0});
  pixels.setPixel(15, 15, test::kGreen);
  EXPECT_EQ(DrawnOnto(canvas, tile, {0, 0}).pixel(15, 15), test::kGreen);

  // A new bottom-left colour changes what is transparent: now black is left out, white drawn.
  tile.MutableImage().setPixel(0, 31, kBlack);
  QImage drawn = DrawnOnto(canvas, tile, {0, 0});
  EXPECT_EQ(tile.TransparentColor(), kBlack);
  EXPECT_EQ(drawn.pixel(4, 4), canvas.pixel(4, 4));
  EXPECT_EQ(drawn.pixel(1, 1), kWhite);

  // Fixed mode and a changed fixed colour.
  tile.SetTransparentMode(Bitmap::TransparentMode::Fixed);
  tile.SetTransparentColor(test::kRed);
  drawn = DrawnOnto(canvas, tile, {0, 0});
  EXPECT_EQ(drawn.pixel(20, 12), canvas.pixel(20, 12));
  EXPECT_EQ(drawn.pixel(4, 4), kBlack);

  // A replaced image.
  tile.SetImage(Filled(32, 32, test::kBlue));
  EXPECT_EQ(DrawnOnto(canvas, tile, {0, 0}).pixel(20, 12), test::kBlue);
}

}  // namespace
}  // namespace tollwen
