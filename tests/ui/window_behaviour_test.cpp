// The window at work: palette and grid presses, commands through the dialogs and boxes,
// errors at start-up and in commands, input during a running command, and shut-down.
#include <QApplication>
#include <QColorDialog>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "support/jpeg_writer.h"
#include "ui/glyph_button.h"
#include "ui/level_grid_view.h"
#include "ui/message_boxes.h"
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
  Choose("NewAction");
  ASSERT_TRUE(form_->Grid().isEnabled());

  ClickPalette(15);
  EXPECT_TRUE(form_->PaletteButton(15).isChecked());
  EXPECT_FALSE(form_->PaletteButton(0).isChecked());
  EXPECT_EQ(form_->LevelEditor().State().CurrentTile, 'F');
  ClickCell(1, 1);
  EXPECT_EQ(form_->LevelEditor().Level().Grid().CellAt(1, 1), 'F');

  ClickPalette(10);
  ClickCell(19, 13);
  EXPECT_EQ(form_->LevelEditor().Level().Grid().CellAt(19, 13), 'A');

  // Back to the empty tile, which clears a cell.
  ClickPalette(0);
  ClickCell(1, 1);
  EXPECT_EQ(form_->LevelEditor().Level().Grid().CellAt(1, 1), '0');
}

TEST_F(WindowTest, ReleaseOutsideAPaletteButtonChoosesNothing) {
  StartShown();
  GlyphButton& button = form_->PaletteButton(7);
  QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(20, 20));
  QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(20, 80));
  EXPECT_EQ(form_->LevelEditor().State().CurrentTile, '0');
  EXPECT_TRUE(form_->PaletteButton(0).isChecked());
  EXPECT_FALSE(button.isChecked());
}

TEST_F(WindowTest, MissingTileEndsStartUpWithAnErrorAndTheWindowStillOpens) {
  const std::string dir = AssetCopy("9.bmp");
  MainWindow& form = StartShown(dir);
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
  Choose("NewAction");
  ClickPalette(3);
  ClickCell(2, 2);
  EXPECT_EQ(form.LevelEditor().Level().Grid().CellAt(2, 2), '3');
}

TEST_F(WindowTest, MissingEmptyGlyphLeavesTheTilesLoadedButNoGlyphs) {
  const std::string dir = AssetCopy("0.bmp");
  MainWindow& form = Start(dir);
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
  Choose("OpenAction");
  ASSERT_EQ(dialogs_.Boxes().size(), 1U);
  const test::ShownBox& box = dialogs_.Boxes()[0];
  EXPECT_TRUE(box.text.startsWith("JPEG error #")) << box.text.toStdString();
  EXPECT_TRUE(box.text.endsWith(".")) << box.text.toStdString();
  EXPECT_EQ(box.icon, QMessageBox::Critical);
  EXPECT_FALSE(form_->LevelEditor().Level().Shown());
  EXPECT_FALSE(form_->LevelEditor().Busy());

  Choose("NewAction");
  EXPECT_TRUE(form_->LevelEditor().Level().Shown());
}

TEST_F(WindowTest, OpenPaintChooseMusicAndSaveWriteTheDataFile) {
  StartShown();
  const QString picture = scratch_.filePath("level1.jpg");
  test::WriteJpegFile(picture.toStdString());

  dialogs_.AnswerFile(picture);
  Choose("OpenAction");
  ASSERT_EQ(dialogs_.FileDialogs().size(), 1U);
  EXPECT_EQ(dialogs_.FileDialogs()[0].objectName, "PictureDialog");
  // The plain message: captioned with the title, no icon, no period added.
  ASSERT_EQ(dialogs_.Boxes().size(), 1U);
  EXPECT_EQ(dialogs_.Boxes()[0].text, "A valid datafile does not exist so one was created!");
  EXPECT_EQ(dialogs_.Boxes()[0].icon, QMessageBox::NoIcon);
  EXPECT_EQ(dialogs_.Boxes()[0].title, ApplicationTitle());
  EXPECT_TRUE(dialogs_.Boxes()[0].defaultIsEscape);
  EXPECT_TRUE(form_->Grid().isEnabled());
  EXPECT_FALSE(QFile::exists(scratch_.filePath("level1.dat")));
  // The answered dialog is kept for the next question, hidden.
  const QList<QFileDialog*> kept = form_->findChildren<QFileDialog*>();
  ASSERT_EQ(kept.size(), 1);
  EXPECT_FALSE(kept[0]->isVisible());

  ClickPalette(5);
  ClickCell(1, 1);

  // The music dialog starts in the level's folder; a name without extension gets "mid".
  dialogs_.AnswerFile(scratch_.filePath("theme"));
  Choose("SaveAction");
  ASSERT_EQ(dialogs_.FileDialogs().size(), 2U);
  EXPECT_EQ(dialogs_.FileDialogs()[1].objectName, "MusicDialog");
  EXPECT_EQ(dialogs_.FileDialogs()[1].directory, scratch_.path());
  EXPECT_EQ(dialogs_.BoxTexts().last(), "File Saved!");

  QByteArray expected = "theme.mid\r\n5000000000000000000\r\n";
  for (int row = 2; row <= 13; ++row) expected += "0000000000000000000\r\n";
  EXPECT_EQ(ReadAll(scratch_.filePath("level1.dat")), expected);
}

TEST_F(WindowTest, SaveAsStartsInTheFolderUsedLastAndAddsTheExtension) {
  StartShown();
  Choose("NewAction");
  dialogs_.AnswerFile(scratch_.filePath("tune.xm"));  // the music question comes first
  dialogs_.AnswerFile(scratch_.filePath("mylevel"));
  Choose("SaveAsAction");
  ASSERT_EQ(dialogs_.FileDialogs().size(), 2U);
  EXPECT_EQ(dialogs_.FileDialogs()[1].objectName, "SaveDialog");
  EXPECT_EQ(dialogs_.FileDialogs()[1].directory, scratch_.path());
  EXPECT_TRUE(ReadAll(scratch_.filePath("mylevel.dat")).startsWith("tune.xm\r\n"));
  EXPECT_EQ(form_->LevelEditor().Level().DataPath(),
            scratch_.filePath("mylevel.dat").toStdString());
}

TEST_F(WindowTest, SelectMusicMenuItemStoresTheNameWithoutDirectory) {
  StartShown();
  dialogs_.AnswerFile(scratch_.filePath("theme.xm"));
  Choose("SelectMusicAction");
  EXPECT_EQ(form_->LevelEditor().Level().MusicName(), "theme.xm");
  Choose("SelectMusicAction");  // cancelled: the name stays
  EXPECT_EQ(form_->LevelEditor().Level().MusicName(), "theme.xm");
}

TEST_F(WindowTest, InputDuringARunningCommandDoesNothing) {
  StartShown();
  Choose("NewAction");
  bool busyInside = false;
  // While Select Music waits for its dialog, a palette press, a cell press and a menu item
  // come in; none of them may start.
  dialogs_.DuringNextDialog([this, &busyInside] {
    busyInside = form_->LevelEditor().Busy();
    ClickPalette(4);
    ClickCell(3, 3);
    Choose("CloseAction");
  });
  Choose("SelectMusicAction");
  EXPECT_TRUE(busyInside);
  EXPECT_EQ(form_->LevelEditor().State().CurrentTile, '0');
  EXPECT_TRUE(form_->PaletteButton(0).isChecked());
  EXPECT_FALSE(form_->PaletteButton(4).isChecked());
  EXPECT_EQ(form_->LevelEditor().Level().Grid().CellAt(3, 3), '0');
  EXPECT_TRUE(form_->LevelEditor().Level().Shown());

  // Afterwards input works again.
  ClickPalette(4);
  ClickCell(3, 3);
  EXPECT_EQ(form_->LevelEditor().Level().Grid().CellAt(3, 3), '4');
}

TEST_F(WindowTest, ArrowColourFollowsTheChooserAndThePaletteKeepsItsGlyphs) {
  StartShown();
  const QImage glyphBefore = form_->PaletteButton(1).Glyph();
  dialogs_.AnswerColour(QColor(255, 0, 0));
  QTest::mouseClick(Find<QPushButton>("ArrowColourButton"), Qt::LeftButton);
  ASSERT_EQ(dialogs_.ColoursPreset().size(), 1U);
  EXPECT_EQ(dialogs_.ColoursPreset()[0], QColor(0, 0, 0));
  EXPECT_EQ(form_->LevelEditor().State().ArrowColour, qRgb(255, 0, 0));
  EXPECT_EQ(Find<QLabel>("ArrowColourSwatch")->grab().toImage().pixel(20, 20), qRgb(255, 0, 0));
  EXPECT_EQ(form_->PaletteButton(1).Glyph(), glyphBefore);
  auto* chooser = Find<QColorDialog>("ArrowColourDialog");
  EXPECT_NE(chooser, nullptr);

  // The chooser is preset with the swatch's colour next time; teal is refused.
  dialogs_.AnswerColour(QColor(0, 128, 128));
  QTest::mouseClick(Find<QPushButton>("ArrowColourButton"), Qt::LeftButton);
  EXPECT_EQ(dialogs_.ColoursPreset()[1], QColor(255, 0, 0));
  EXPECT_EQ(form_->LevelEditor().State().ArrowColour, qRgb(255, 0, 0));
  EXPECT_EQ(dialogs_.BoxTexts().last(), "Sorry this colour cannot be used for the arrow color");
  EXPECT_EQ(form_->findChildren<QColorDialog*>(), QList<QColorDialog*>{chooser});
}

TEST_F(WindowTest, ExitFreesTheBitmapsAndClosesTheWindow) {
  StartShown();
  const QString picture = scratch_.filePath("level1.jpg");
  test::WriteJpegFile(picture.toStdString());
  dialogs_.AnswerFile(picture);
  Choose("OpenAction");
  ASSERT_FALSE(form_->LevelEditor().Level().Picture().isNull());

  Choose("ExitAction");
  EXPECT_FALSE(form_->isVisible());
  const EditorState& state = form_->LevelEditor().State();
  EXPECT_TRUE(form_->LevelEditor().Level().Picture().isNull());
  EXPECT_TRUE(state.Tiles.StartMarker().Empty());
  for (int i = 1; i <= 15; ++i) EXPECT_TRUE(state.Tiles.TileBitmap(i).Empty()) << i;
  // Nothing is asked about the level, and nothing paints afterwards.
  EXPECT_EQ(dialogs_.Boxes().size(), 1U);
  form_->Services().RepaintGrid();
}

TEST_F(WindowTest, CloseDuringACommandWaitsUntilTheCommandHasFinished) {
  StartShown();
  Choose("NewAction");
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
  Choose("SaveAsAction");
  EXPECT_TRUE(stillOpenInside);
  EXPECT_TRUE(QFile::exists(scratch_.filePath("level.dat")));
  EXPECT_EQ(dialogs_.BoxTexts().last(), "File Saved!");
  // Then the window closes, as asked.
  QTRY_VERIFY(!form_->isVisible());
  EXPECT_TRUE(form_->LevelEditor().State().Tiles.TileBitmap(1).Empty());
}

}  // namespace
}  // namespace tollwen
