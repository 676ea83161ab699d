// The window at work: palette and grid presses, commands through the dialogs and boxes,
// errors at start-up and in commands, input during a running command, and shut-down.
#include <QApplication>
#include <QColorDialog>
#include <QFile>
#include <QFileDialog>
#include <QPushButton>
#include <QTest>

#include "support/jpeg_writer.h"
#include "ui/level_grid_view.h"
#include "ui/message_boxes.h"
#include "ui/speed_button.h"
#include "window_fixture.h"

namespace tollwen {
namespace {

using test::WindowTest;

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

TEST_F(WindowTest, PaletteChoiceIsWhatACellPressWrites) {
  StartShown();
  Choose("New1");
  ASSERT_TRUE(form_->GridEnabled());

  ClickPalette(15);
  EXPECT_TRUE(form_->PaletteButton(15).isChecked());
  EXPECT_FALSE(form_->PaletteButton(0).isChecked());
  EXPECT_EQ(form_->LevelEditor().State().CurrentTile, 'F');
  ClickCell(1, 1);
  EXPECT_EQ(form_->LevelEditor().State().Grid.CellAt(1, 1), 'F');

  ClickPalette(10);
  ClickCell(19, 13);
  EXPECT_EQ(form_->LevelEditor().State().Grid.CellAt(19, 13), 'A');

  // Back to the empty tile, which clears a cell.
  ClickPalette(0);
  ClickCell(1, 1);
  EXPECT_EQ(form_->LevelEditor().State().Grid.CellAt(1, 1), '0');
}

TEST_F(WindowTest, ReleaseOutsideAPaletteButtonChoosesNothing) {
  StartShown();
  SpeedButton& button = form_->PaletteButton(7);
  QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(20, 20));
  QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(20, 80));
  EXPECT_EQ(form_->LevelEditor().State().CurrentTile, '0');
  EXPECT_TRUE(form_->PaletteButton(0).isChecked());
  EXPECT_FALSE(button.isChecked());
}

TEST_F(WindowTest, MissingTileEndsStartUpWithAnErrorAndTheWindowStillOpens) {
  const std::string dir = AssetCopy("9.bmp");
  TForm1& form = StartShown(dir);
  ASSERT_EQ(dialogs_.Boxes().size(), 1U);
  const test::ShownBox& box = dialogs_.Boxes()[0];
  EXPECT_EQ(box.text.toStdString(), "Cannot open file " + dir + "9.bmp.");
  EXPECT_EQ(box.icon, QMessageBox::Critical);
  EXPECT_EQ(box.title, ApplicationTitle());
  EXPECT_EQ(box.buttons, QStringList{"OK"});

  EXPECT_TRUE(form.isVisible());
  const TileSet& tiles = form.LevelEditor().State().Tiles;
  EXPECT_FALSE(tiles.TileBitmap(8).Empty());  // loaded before the failure
  EXPECT_TRUE(tiles.TileBitmap(10).Empty());  // never reached
  // The glyph steps come after the asset load, so no button got one.
  for (int k = 0; k < 16; ++k) EXPECT_TRUE(form.PaletteButton(k).Glyph().isNull()) << k;

  // The editor goes on: New and a paint work.
  Choose("New1");
  ClickPalette(3);
  ClickCell(2, 2);
  EXPECT_EQ(form.LevelEditor().State().Grid.CellAt(2, 2), '3');
}

TEST_F(WindowTest, MissingEmptyGlyphLeavesTheTilesLoadedButNoGlyphs) {
  const std::string dir = AssetCopy("0.bmp");
  TForm1& form = Start(dir);
  ASSERT_EQ(dialogs_.Boxes().size(), 1U);
  EXPECT_EQ(dialogs_.Boxes()[0].text.toStdString(), "Cannot open file " + dir + "0.bmp.");
  EXPECT_FALSE(form.LevelEditor().State().Tiles.TileBitmap(15).Empty());
  EXPECT_TRUE(form.PaletteButton(1).Glyph().isNull());
}

TEST_F(WindowTest, CommandErrorIsShownAndTheEditorGoesOn) {
  StartShown();
  const QString notAPicture = scratch_.filePath("level.jpg");
  {
    QFile file(notAPicture);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("this is no JPEG");
  }
  dialogs_.AnswerFile(notAPicture);
  Choose("Open1");
  ASSERT_EQ(dialogs_.Boxes().size(), 1U);
  const test::ShownBox& box = dialogs_.Boxes()[0];
  EXPECT_TRUE(box.text.startsWith("JPEG error #")) << box.text.toStdString();
  EXPECT_TRUE(box.text.endsWith(".")) << box.text.toStdString();
  EXPECT_EQ(box.icon, QMessageBox::Critical);
  EXPECT_FALSE(form_->LevelEditor().State().LevelOpen);
  EXPECT_FALSE(form_->LevelEditor().Busy());

  Choose("New1");
  EXPECT_TRUE(form_->LevelEditor().State().LevelOpen);
}

TEST_F(WindowTest, OpenPaintChooseMusicAndSaveWriteTheDataFile) {
  StartShown();
  const QString picture = scratch_.filePath("level1.jpg");
  test::WriteJpegFile(picture.toStdString());

  dialogs_.AnswerFile(picture);
  Choose("Open1");
  ASSERT_EQ(dialogs_.FileDialogs().size(), 1U);
  EXPECT_EQ(dialogs_.FileDialogs()[0].objectName, "OpenDialog1");
  // The plain message: captioned with the title, no icon, no period added.
  ASSERT_EQ(dialogs_.Boxes().size(), 1U);
  EXPECT_EQ(dialogs_.Boxes()[0].text, "A valid datafile does not exist so one was created!");
  EXPECT_EQ(dialogs_.Boxes()[0].icon, QMessageBox::NoIcon);
  EXPECT_EQ(dialogs_.Boxes()[0].title, ApplicationTitle());
  EXPECT_TRUE(dialogs_.Boxes()[0].defaultIsEscape);
  EXPECT_TRUE(form_->GridEnabled());
  EXPECT_FALSE(QFile::exists(scratch_.filePath("level1.dat")));
  // The answered dialog is kept for the next question, hidden.
  const QList<QFileDialog*> kept = form_->findChildren<QFileDialog*>();
  ASSERT_EQ(kept.size(), 1);
  EXPECT_FALSE(kept[0]->isVisible());

  ClickPalette(5);
  ClickCell(1, 1);

  // The music dialog starts in the resource directory; a name without extension gets "mid".
  const QString resourceDir = QString::fromStdString(form_->LevelEditor().State().ResourceDir);
  dialogs_.AnswerFile(scratch_.filePath("theme"));
  Choose("Save1");
  ASSERT_EQ(dialogs_.FileDialogs().size(), 2U);
  EXPECT_EQ(dialogs_.FileDialogs()[1].objectName, "OpenDialog2");
  EXPECT_EQ(dialogs_.FileDialogs()[1].directory + "/", resourceDir);
  EXPECT_EQ(dialogs_.BoxTexts().last(), "File Saved!");

  QByteArray expected = "theme.mid\r\n5000000000000000000\r\n";
  for (int row = 2; row <= 13; ++row) expected += "0000000000000000000\r\n";
  EXPECT_EQ(ReadAll(scratch_.filePath("level1.dat")), expected);
}

TEST_F(WindowTest, SaveAsAsksInTheResourceDirectoryAndAddsTheExtension) {
  StartShown();
  Choose("New1");
  dialogs_.AnswerFile(scratch_.filePath("tune.xm"));  // the music question comes first
  dialogs_.AnswerFile(scratch_.filePath("mylevel"));
  Choose("SaveAs1");
  ASSERT_EQ(dialogs_.FileDialogs().size(), 2U);
  EXPECT_EQ(dialogs_.FileDialogs()[1].objectName, "SaveDialog1");
  EXPECT_EQ(dialogs_.FileDialogs()[1].directory + "/",
            QString::fromStdString(form_->LevelEditor().State().ResourceDir));
  EXPECT_TRUE(ReadAll(scratch_.filePath("mylevel.dat")).startsWith("tune.xm\r\n"));
  EXPECT_EQ(form_->LevelEditor().State().DataPath, scratch_.filePath("mylevel.dat").toStdString());
}

TEST_F(WindowTest, SelectMusicMenuItemStoresTheNameWithoutDirectory) {
  StartShown();
  dialogs_.AnswerFile(scratch_.filePath("theme.xm"));
  Choose("SelectMusic1");
  EXPECT_EQ(form_->LevelEditor().State().MusicName, "theme.xm");
  Choose("SelectMusic1");  // cancelled: the name stays
  EXPECT_EQ(form_->LevelEditor().State().MusicName, "theme.xm");
}

TEST_F(WindowTest, InputDuringARunningCommandDoesNothing) {
  StartShown();
  Choose("New1");
  bool busyInside = false;
  // While Select Music waits for its dialog, a palette press, a cell press and a menu item
  // come in; none of them may start.
  dialogs_.DuringNextDialog([this, &busyInside] {
    busyInside = form_->LevelEditor().Busy();
    ClickPalette(4);
    ClickCell(3, 3);
    Choose("Close1");
  });
  Choose("SelectMusic1");
  EXPECT_TRUE(busyInside);
  EXPECT_EQ(form_->LevelEditor().State().CurrentTile, '0');
  EXPECT_TRUE(form_->PaletteButton(0).isChecked());
  EXPECT_FALSE(form_->PaletteButton(4).isChecked());
  EXPECT_EQ(form_->LevelEditor().State().Grid.CellAt(3, 3), '0');
  EXPECT_TRUE(form_->LevelEditor().State().LevelOpen);

  // Afterwards input works again.
  ClickPalette(4);
  ClickCell(3, 3);
  EXPECT_EQ(form_->LevelEditor().State().Grid.CellAt(3, 3), '4');
}

TEST_F(WindowTest, ArrowColourFollowsTheChooserAndThePaletteKeepsItsGlyphs) {
  StartShown();
  const QImage glyphBefore = form_->PaletteButton(1).Glyph();
  dialogs_.AnswerColour(QColor(255, 0, 0));
  QTest::mouseClick(Find<QPushButton>("Button1"), Qt::LeftButton);
  ASSERT_EQ(dialogs_.ColoursPreset().size(), 1U);
  EXPECT_EQ(dialogs_.ColoursPreset()[0], QColor(0, 0, 0));
  EXPECT_EQ(form_->ArrowColour(), qRgb(255, 0, 0));
  EXPECT_EQ(form_->PaletteButton(1).Glyph(), glyphBefore);
  auto* chooser = Find<QColorDialog>("ColorDialog1");
  EXPECT_NE(chooser, nullptr);

  // The chooser is preset with the swatch's colour next time; teal is refused.
  dialogs_.AnswerColour(QColor(0, 128, 128));
  QTest::mouseClick(Find<QPushButton>("Button1"), Qt::LeftButton);
  EXPECT_EQ(dialogs_.ColoursPreset()[1], QColor(255, 0, 0));
  EXPECT_EQ(form_->ArrowColour(), qRgb(255, 0, 0));
  EXPECT_EQ(dialogs_.BoxTexts().last(), "Sorry this colour cannot be used for the arrow color");
  EXPECT_EQ(form_->findChildren<QColorDialog*>(), QList<QColorDialog*>{chooser});
}

TEST_F(WindowTest, ExitFreesTheBitmapsAndClosesTheWindow) {
  StartShown();
  const QString picture = scratch_.filePath("level1.jpg");
  test::WriteJpegFile(picture.toStdString());
  dialogs_.AnswerFile(picture);
  Choose("Open1");
  ASSERT_FALSE(form_->LevelEditor().State().Background.isNull());

  Choose("Exit1");
  EXPECT_FALSE(form_->isVisible());
  const EditorState& state = form_->LevelEditor().State();
  EXPECT_TRUE(state.Background.isNull());
  EXPECT_TRUE(state.Tiles.StartMarker().Empty());
  for (int i = 1; i <= 15; ++i) EXPECT_TRUE(state.Tiles.TileBitmap(i).Empty()) << i;
  // Nothing is asked about the level, and nothing paints afterwards.
  EXPECT_EQ(dialogs_.Boxes().size(), 1U);
  form_->RepaintGrid();
  form_->DrawPictureOnGrid();
}

TEST_F(WindowTest, CloseDuringACommandWaitsUntilTheCommandHasFinished) {
  StartShown();
  Choose("New1");
  bool stillOpenInside = false;
  // The close comes while Save As asks for the music; by its next question the window must
  // still be there with its bitmaps.
  dialogs_.DuringNextDialog([this, &stillOpenInside] {
    form_->close();
    dialogs_.DuringNextDialog([this, &stillOpenInside] {
      stillOpenInside =
          form_->isVisible() && !form_->LevelEditor().State().Tiles.TileBitmap(1).Empty();
    });
  });
  dialogs_.AnswerFile(scratch_.filePath("theme.mod"));
  dialogs_.AnswerFile(scratch_.filePath("level"));
  Choose("SaveAs1");
  EXPECT_TRUE(stillOpenInside);
  EXPECT_TRUE(QFile::exists(scratch_.filePath("level.dat")));
  EXPECT_EQ(dialogs_.BoxTexts().last(), "File Saved!");
  // Then the window closes, as asked.
  QTRY_VERIFY(!form_->isVisible());
  EXPECT_TRUE(form_->LevelEditor().State().Tiles.TileBitmap(1).Empty());
}

}  // namespace
}  // namespace tollwen
