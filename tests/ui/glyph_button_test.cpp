// The palette button: its glyph's transparency and when a press counts.
#include "ui/glyph_button.h"

#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QSignalSpy>
#include <QTest>

namespace tollwen {
namespace {

// A 32 x 32 glyph in `background` with a 4 x 4 black square in the middle and one white
// pixel at the top left, so both colours occur away from the bottom-left corner.
QImage MakeGlyph(QRgb background) {
  QImage glyph(32, 32, QImage::Format_RGB32);
  glyph.fill(background);
  for (int y = 14; y < 18; ++y) {
    for (int x = 14; x < 18; ++x) glyph.setPixel(x, y, qRgb(0, 0, 0));
  }
  glyph.setPixel(0, 0, qRgb(255, 255, 255));
  return glyph;
}

TEST(TransparentGlyph, LeavesOutEveryPixelOfTheBottomLeftColour) {
  const QImage drawn = TransparentGlyph(MakeGlyph(qRgb(255, 255, 255)));
  ASSERT_EQ(drawn.size(), QSize(32, 32));
  EXPECT_EQ(qAlpha(drawn.pixel(0, 31)), 0);
  EXPECT_EQ(qAlpha(drawn.pixel(0, 0)), 0);  // white inside the glyph, too
  EXPECT_EQ(drawn.pixel(15, 15), qRgb(0, 0, 0));

  // With teal at the corner the white pixel is kept and the black square as well.
  const QImage teal = TransparentGlyph(MakeGlyph(qRgb(0, 128, 128)));
  EXPECT_EQ(qAlpha(teal.pixel(31, 0)), 0);
  EXPECT_EQ(teal.pixel(0, 0), qRgb(255, 255, 255));
  EXPECT_EQ(teal.pixel(15, 15), qRgb(0, 0, 0));

  EXPECT_TRUE(TransparentGlyph(QImage()).isNull());
}

TEST(GlyphButton, DrawsItsGlyphCentredAndTransparent) {
  GlyphButton button;
  button.SetGlyph(MakeGlyph(qRgb(255, 0, 255)));
  const QImage shot = button.grab().toImage();
  // The glyph's 32 x 32 sits at (4, 4) on the 41 x 41 face; its black square at (18..21).
  EXPECT_EQ(shot.pixel(19, 19) & 0xFFFFFF, 0u);
  // No magenta anywhere: the glyph's background is left out.
  for (int y = 0; y < shot.height(); ++y) {
    for (int x = 0; x < shot.width(); ++x) {
      ASSERT_NE(shot.pixel(x, y) & 0xFFFFFF, 0xFF00FFu) << x << "," << y;
    }
  }
}

struct Palette {
  Palette() {
    for (int i = 0; i < 3; ++i) {
      buttons[i] = new GlyphButton(&parent);
      buttons[i]->move(i * 48, 0);
      group.addButton(buttons[i], i);
    }
    buttons[0]->setChecked(true);
    parent.resize(200, 50);
  }
  QWidget parent;
  QButtonGroup group;
  GlyphButton* buttons[3] = {};
};

TEST(GlyphButton, ActsOnReleaseInsideAndGroupKeepsExactlyOneDown) {
  Palette p;
  QSignalSpy clicks(&p.group, &QButtonGroup::idClicked);

  QTest::mousePress(p.buttons[2], Qt::LeftButton, {}, QPoint(20, 20));
  EXPECT_EQ(clicks.count(), 0);  // not yet on the press
  EXPECT_TRUE(p.buttons[0]->isChecked());
  QTest::mouseRelease(p.buttons[2], Qt::LeftButton, {}, QPoint(20, 20));
  ASSERT_EQ(clicks.count(), 1);
  EXPECT_EQ(clicks[0][0].toInt(), 2);
  EXPECT_TRUE(p.buttons[2]->isChecked());
  EXPECT_FALSE(p.buttons[0]->isChecked());

  // The button already down stays down and acts again.
  QTest::mouseClick(p.buttons[2], Qt::LeftButton, {}, QPoint(20, 20));
  ASSERT_EQ(clicks.count(), 2);
  EXPECT_EQ(clicks[1][0].toInt(), 2);
  EXPECT_TRUE(p.buttons[2]->isChecked());
}

TEST(GlyphButton, ReleaseOutsideOrOtherButtonsDoNothing) {
  Palette p;
  QSignalSpy clicks(&p.group, &QButtonGroup::idClicked);

  QTest::mousePress(p.buttons[1], Qt::LeftButton, {}, QPoint(20, 20));
  QTest::mouseRelease(p.buttons[1], Qt::LeftButton, {}, QPoint(60, 20));
  QTest::mouseClick(p.buttons[1], Qt::RightButton, {}, QPoint(20, 20));
  QTest::mouseClick(p.buttons[1], Qt::MiddleButton, {}, QPoint(20, 20));
  EXPECT_EQ(clicks.count(), 0);
  EXPECT_TRUE(p.buttons[0]->isChecked());
  EXPECT_FALSE(p.buttons[1]->isChecked());
}

}  // namespace
}  // namespace tollwen
