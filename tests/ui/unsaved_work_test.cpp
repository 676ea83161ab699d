// Strokes on the real grid undo as one step and show the restored cells; closing the window
// with a modified level asks first; what the grid shows after a refused data file, and a data
// file changed on disk.
#include <QFile>
#include <QTest>
#include <cstdio>
#include <fstream>

#include "grid_test_util.h"
#include "support/case_name.h"
#include "support/jpeg_writer.h"
#include "ui/level_grid_view.h"
#include "window_fixture.h"

namespace tollwen::test {
namespace {

class UnsavedWorkTest : public WindowTest {
 protected:
  // A shown window with a level open on a fresh picture and its data file saved.
  void OpenLevel() {
    StartShown();
    picture_ = scratch_.filePath("level1.jpg");
    WriteJpegFile(picture_.toStdString());
    dialogs_.AnswerFile(picture_);
    Choose("OpenAction");
    ASSERT_TRUE(form_->LevelEditor().Level().Shown());
  }
  TileCode Cell(int column, int row) {
    return form_->LevelEditor().Level().Grid().CellAt(column, row);
  }
  QImage Screen() {
    WaitForPaints();
    return ScreenImage(form_->Grid());
  }

  QString picture_;
};

TEST_F(UnsavedWorkTest, ARefusedDataFileLeavesTheGridAsCloseLeavesIt) {
  OpenLevel();
  Choose("CloseAction");
  const QImage closed = Screen();
  const QString second = scratch_.filePath("level2.jpg");
  WriteJpegFile(second.toStdString());
  QFile data(scratch_.filePath("level2.dat"));
  ASSERT_TRUE(data.open(QIODevice::WriteOnly));
  data.write(QByteArray(70000, '0'));  // a line no data file has: refused
  data.close();

  dialogs_.AnswerFile(second);
  Choose("OpenAction");
  ASSERT_EQ(dialogs_.Boxes().back().icon, QMessageBox::Critical);
  EXPECT_EQ(Screen(), closed);
}

// The real watcher: a data file replaced by a rename is reloaded at once; over unsaved changes
// the question waits until the window is active again.
TEST_F(UnsavedWorkTest, ADataFileChangedOnDiskIsReloadedOrAskedAboutOnceTheWindowIsActive) {
  OpenLevel();
  const std::string data = scratch_.filePath("level1.dat").toStdString();
  const auto rewrite = [&](const std::string& firstRow) {
    std::ofstream(data + ".new") << "tune.mod\r\n" << firstRow << "\r\n";
    std::rename((data + ".new").c_str(), data.c_str());
  };
  rewrite("9000000000000000000");
  ASSERT_TRUE(QTest::qWaitFor([this] { return Cell(1, 1) == '9'; }, 3000));

  ClickPalette(5);
  ClickCell(2, 1);
  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  rewrite("8000000000000000000");
  QTest::qWait(3 * DataFileWatcher::kQuietMs);
  EXPECT_EQ(Cell(1, 1), '9');
  dialogs_.AnswerBox(QMessageBox::Yes);
  form_->activateWindow();
  ASSERT_TRUE(QTest::qWaitFor([this] { return Cell(1, 1) == '8'; }, 3000));
  const ShownBox& asked = dialogs_.Boxes().back();
  EXPECT_EQ(asked.text.toStdString(),
            "The data file " + data + " changed on disk. Reload it and lose your changes?");
  EXPECT_EQ(asked.buttons.size(), 2);
  EXPECT_TRUE(asked.buttons.contains("Reload") && asked.buttons.contains("Keep"));
  EXPECT_TRUE(asked.defaultIsEscape);
}

TEST_F(UnsavedWorkTest, ADragIsOneStepAndUndoShowsThePictureAgain) {
  OpenLevel();
  LevelGridView& grid = form_->Grid();
  const QImage before = Screen();
  ClickPalette(5);
  QTest::mousePress(&grid, Qt::LeftButton, {}, CellCentre(grid, 2, 3));
  for (int column = 3; column <= 9; ++column) QTest::mouseMove(&grid, CellCentre(grid, column, 3));
  QTest::mouseRelease(&grid, Qt::LeftButton, {}, CellCentre(grid, 9, 3));
  ASSERT_EQ(Cell(9, 3), '5');
  EXPECT_NE(Screen(), before);

  form_->RunCommand([this] { form_->LevelEditor().Undo(); });
  for (int column = 2; column <= 9; ++column) EXPECT_EQ(Cell(column, 3), '0') << column;
  EXPECT_FALSE(form_->LevelEditor().Modified());
  // The grid shows the picture again, except for the current cell's focus frame.
  const QImage undone = Screen();
  for (int column = 2; column <= 8; ++column) {
    const QRect cell = grid.CellRect(column, 3).translated(grid.contentsRect().topLeft());
    EXPECT_EQ(undone.copy(cell), before.copy(cell)) << column;
  }

  form_->RunCommand([this] { form_->LevelEditor().Redo(); });
  for (int column = 2; column <= 9; ++column) EXPECT_EQ(Cell(column, 3), '5') << column;
}

struct CloseCase {
  const char* name;
  QMessageBox::StandardButton answer;
  bool closes;
  bool saved;
};

class CloseQuestionTest : public UnsavedWorkTest,
                          public ::testing::WithParamInterface<CloseCase> {};

// File > Exit and the title bar's close button (and Alt+F4, which closes the same way).
TEST_P(CloseQuestionTest, ClosingAModifiedLevelAsksFirst) {
  const CloseCase& c = GetParam();
  for (const bool fromMenu : {true, false}) {
    SCOPED_TRACE(fromMenu ? "File > Exit" : "close button");
    OpenLevel();
    ClickPalette(7);
    ClickCell(4, 4);
    if (c.saved) dialogs_.AnswerFile(scratch_.filePath("theme.mod"));  // Save asks for music
    dialogs_.AnswerBox(c.answer);
    const int boxesBefore = static_cast<int>(dialogs_.Boxes().size());

    if (fromMenu) {
      Choose("ExitAction");
    } else {
      form_->close();
    }

    ASSERT_GT(static_cast<int>(dialogs_.Boxes().size()), boxesBefore);
    const ShownBox& question = dialogs_.Boxes()[boxesBefore];
    EXPECT_EQ(question.text, "Save changes to the level before exiting?");
    QStringList buttons = question.buttons;  // in the order the platform lays them out
    buttons.sort();
    EXPECT_EQ(buttons, QStringList({"Cancel", "Discard", "Save"}));
    EXPECT_EQ(form_->isVisible(), !c.closes);
    EXPECT_EQ(QFile::exists(scratch_.filePath("level1.dat")), c.saved);
    if (!c.closes) {
      EXPECT_EQ(Cell(4, 4), '7');
    }
    form_.reset();
    QFile::remove(scratch_.filePath("level1.dat"));
  }
}

INSTANTIATE_TEST_SUITE_P(Answers, CloseQuestionTest,
                         ::testing::Values(CloseCase{"Cancel", QMessageBox::Cancel, false, false},
                                           CloseCase{"Discard", QMessageBox::Discard, true, false},
                                           CloseCase{"Save", QMessageBox::Save, true, true}),
                         CaseName());

TEST_F(UnsavedWorkTest, AnUnmodifiedLevelClosesWithoutAQuestion) {
  OpenLevel();
  const auto boxes = dialogs_.Boxes().size();
  Choose("ExitAction");
  EXPECT_FALSE(form_->isVisible());
  EXPECT_EQ(dialogs_.Boxes().size(), boxes);
}

}  // namespace
}  // namespace tollwen::test
