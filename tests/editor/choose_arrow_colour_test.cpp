#include <gtest/gtest.h>

#include <QImage>
#include <string>
#include <vector>

#include "display/colours.h"
#include "editor/editor.h"
#include "support/fake_window.h"

namespace tollwen {
namespace {

constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kBlue = 0xFF0000FF;
constexpr const char* kRefused = "Sorry this colour cannot be used for the arrow color";

// Tile i: white with a black arrow of i pixels in row 1; the marker: teal with a black dot.
QImage TileImage(int i) {
  QImage image(32, 32, QImage::Format_RGB32);
  image.fill(kWhite);
  for (int x = 0; x < i; ++x) image.setPixel(x, 1, kBlack);
  return image;
}

QImage MarkerImage() {
  QImage image(32, 32, QImage::Format_RGB32);
  image.fill(kTeal);
  image.setPixel(16, 16, kBlack);
  return image;
}

class ChooseArrowColourTest : public ::testing::Test {
 protected:
  ChooseArrowColourTest() : editor_(window_, "/resources/") {
    TileSet& tiles = editor_.State().Tiles;
    for (int i = 1; i <= 15; ++i) {
      tiles.TileBitmap(i).SetImage(TileImage(i));
      tiles.TileBitmap(i).SetTransparent(true);
    }
    tiles.StartMarker().SetImage(MarkerImage());
    tiles.StartMarker().SetTransparentMode(Bitmap::TransparentMode::Fixed);
    tiles.StartMarker().SetTransparentColor(kTeal);
    tiles.StartMarker().SetTransparent(true);
  }

  const Bitmap& Tile(int i) const { return editor_.State().Tiles.TileBitmap(i); }
  const Bitmap& Marker() const { return editor_.State().Tiles.StartMarker(); }

  // The arrow pixels of every bitmap have `colour`, the rest is as loaded.
  void ExpectArrowsIn(QRgb colour) {
    for (int i = 1; i <= 15; ++i) {
      QImage expected = TileImage(i);
      for (int x = 0; x < i; ++x) expected.setPixel(x, 1, colour);
      EXPECT_EQ(Tile(i).Image(), expected) << "tile " << i;
    }
    QImage marker = MarkerImage();
    marker.setPixel(16, 16, colour);
    EXPECT_EQ(Marker().Image(), marker);
  }

  FakeWindow window_;
  Editor editor_;
};

TEST_F(ChooseArrowColourTest, CancelChangesNothing) {
  window_.AnswerArrowColour(std::nullopt);
  editor_.ChooseArrowColour();
  EXPECT_EQ(window_.Calls(), std::vector<std::string>{"AskArrowColour"});
  EXPECT_EQ(window_.ColoursAsked(), std::vector<QRgb>{kBlack});
  ExpectArrowsIn(kBlack);
}

TEST_F(ChooseArrowColourTest, TealIsRefusedAndNothingChanges) {
  editor_.NewLevel();  // a level on the grid
  window_.ClearCalls();
  // Teal whatever the alpha byte of the chosen value.
  for (QRgb teal : {kTeal, QRgb{0x00008080}}) {
    window_.AnswerArrowColour(teal);
    editor_.ChooseArrowColour();
  }
  EXPECT_EQ(window_.Messages(), (std::vector<std::string>{kRefused, kRefused}));
  EXPECT_EQ(editor_.State().ArrowColour, kBlack);
  EXPECT_EQ(window_.CountOf("ShowArrowColour #008080"), 0);
  EXPECT_EQ(window_.RepaintCount(), 0);
  ExpectArrowsIn(kBlack);
}

TEST_F(ChooseArrowColourTest, SwatchFirstThenTilesOneByOneThenRepaint) {
  editor_.NewLevel();  // a level on the grid
  window_.ClearCalls();
  // At each tick tile `tick` is recoloured and the next one not yet; the swatch is already set.
  int tick = 0;
  window_.OnProcessPendingMessages([&] {
    ++tick;
    EXPECT_EQ(editor_.State().ArrowColour, kRed);
    EXPECT_TRUE(editor_.Busy());
    EXPECT_EQ(Tile(tick).Image().pixel(0, 1), kRed) << tick;
    if (tick < 15) {
      EXPECT_EQ(Tile(tick + 1).Image().pixel(0, 1), kBlack) << tick;
    }
    EXPECT_EQ(Marker().Image().pixel(16, 16), kBlack);
  });
  window_.AnswerArrowColour(kRed);
  editor_.ChooseArrowColour();

  EXPECT_EQ(tick, 15);
  ASSERT_EQ(window_.Calls().size(), 18u);
  EXPECT_EQ(window_.Calls()[0], "AskArrowColour");
  EXPECT_EQ(window_.Calls()[1], "ShowArrowColour #ff0000");
  EXPECT_EQ(window_.Calls()[17], "RepaintGrid");
  EXPECT_FALSE(editor_.Busy());
  ExpectArrowsIn(kRed);
}

TEST_F(ChooseArrowColourTest, ChangesFollowEachOtherAndShowOnTheNextLevelWhenGridIsOff) {
  window_.AnswerArrowColour(kRed);
  window_.AnswerArrowColour(kBlue);
  window_.AnswerArrowColour(kBlue);
  editor_.ChooseArrowColour();
  ExpectArrowsIn(kRed);
  editor_.ChooseArrowColour();
  EXPECT_EQ(window_.ColoursAsked(), (std::vector<QRgb>{kBlack, kRed}));
  ExpectArrowsIn(kBlue);
  // The current colour again: nothing to see.
  editor_.ChooseArrowColour();
  ExpectArrowsIn(kBlue);

  EXPECT_EQ(editor_.State().ArrowColour, kBlue);
  // No level shown: the bitmaps change, the grid is not repainted.
  EXPECT_EQ(window_.RepaintCount(), 0);
}

}  // namespace
}  // namespace tollwen
