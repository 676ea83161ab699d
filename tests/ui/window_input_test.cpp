// Shortcuts, tile keys, tool tips, the status line and the grid's words for screen readers in
// the main window, and levels opened by path or drop.
#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QHelpEvent>
#include <QLabel>
#include <QMimeData>
#include <QTest>
#include <QToolTip>
#include <QUrl>
#include <tuple>

#include "grid_test_util.h"
#include "support/jpeg_writer.h"
#include "ui/glyph_button.h"
#include "ui/grid_tool_tips.h"
#include "ui/level_grid_view.h"
#include "window_fixture.h"

namespace tollwen {
namespace {

class WindowInputTest : public test::WindowTest {
 protected:
  // The window shown and active, so that its window-wide keys reach it.
  MainWindow& StartActive() {
    StartShown();
    QApplication::setActiveWindow(form_.get());
    EXPECT_TRUE(QTest::qWaitForWindowActive(form_.get()));
    return *form_;
  }
  void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
  }
  // A file `name` in the scratch directory holding `bytes`; its full path.
  std::string Write(const QString& name, const QByteArray& bytes) {
    QFile file(scratch_.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size())
        << name.toStdString();
    return file.fileName().toStdString();
  }
  std::string Picture(const QString& name, int width = 640) {
    test::JpegOptions options;
    options.width = width;
    const std::vector<unsigned char> jpeg = test::MakeJpeg(options);
    return Write(name, QByteArray(reinterpret_cast<const char*>(jpeg.data()), jpeg.size()));
  }
  // Drags `urls` onto the window from a source that proposes to move them, and drops them
  // there; whether the window took the drop, and with it `dropAction_`.
  bool Drop(const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    const Qt::DropActions offered = Qt::MoveAction | Qt::CopyAction;
    QDragEnterEvent enter(QPoint(400, 200), offered, &data, Qt::LeftButton, {});
    enter.setDropAction(Qt::MoveAction);
    QApplication::sendEvent(form_.get(), &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(QPoint(400, 200), offered, &data, Qt::LeftButton, {});
    drop.setDropAction(Qt::MoveAction);
    QApplication::sendEvent(form_.get(), &drop);
    QApplication::processEvents();
    dropAction_ = drop.dropAction();
    return drop.isAccepted();
  }
  Qt::DropAction dropAction_ = Qt::IgnoreAction;
  // What a way of opening a level left behind: the boxes it showed and the level.
  auto Outcome(const std::function<void()>& open) {
    const size_t before = dialogs_.Boxes().size();
    open();
    QStringList texts;
    for (size_t i = before; i < dialogs_.Boxes().size(); ++i) texts << dialogs_.Boxes()[i].text;
    const LevelDocument& level = form_->LevelEditor().Level();
    return std::tuple(texts, level.Shown(), level.Grid(), level.MusicName());
  }
};

TEST_F(WindowInputTest, MenuItemsAndWindowActionsHaveTheirShortcuts) {
  StartActive();
  const std::pair<const char*, QString> cases[] = {
      {"NewAction", "Ctrl+N"},
      {"OpenAction", "Ctrl+O"},
      {"CloseAction", "Ctrl+W"},
      {"SaveAction", "Ctrl+S"},
      {"SaveAsAction", "Ctrl+Shift+S"},
      {"SelectMusicAction", "Ctrl+M"},
      {"RefreshDisplayAction", "F5"},
      {"ExitAction", "Ctrl+Q"},
      {"UndoAction", "Ctrl+Z"},
      {"RedoAction", "Ctrl+Y; Ctrl+Shift+Z"},
      {"CutAction", "Ctrl+X"},
      {"CopyAction", "Ctrl+C"},
      {"PasteAction", "Ctrl+V"},
      {"DeleteAction", "Del"},
      {"SelectAllAction", "Ctrl+A"},
      {"NextLevelAction", "Alt+PgDown"},
      {"PreviousLevelAction", "Alt+PgUp"},
      {"FlipHorizontallyAction", "X"},
      {"FlipVerticallyAction", "Y"},
      {"RotateClockwiseAction", "Z"},
      {"RotateCounterClockwiseAction", "Shift+Z"},
  };
  for (const auto& [name, keys] : cases) {
    auto* action = Find<QAction>(name);
    ASSERT_NE(action, nullptr) << name;
    EXPECT_EQ(QKeySequence::listToString(action->shortcuts()), keys) << name;
  }
  // A shortcut reaches its item while the menu is closed; a tool's plain letter chooses it.
  Press(Qt::Key_L);
  EXPECT_EQ(form_->LevelEditor().Tools().Active().Info().key, 'L');
  Press(Qt::Key_O, Qt::ControlModifier);
  ASSERT_EQ(dialogs_.FileDialogs().size(), 1U);
  EXPECT_EQ(dialogs_.FileDialogs()[0].objectName, "PictureDialog");
}

TEST_F(WindowInputTest, UndoAndRedoKeysStepThroughTheHistory) {
  MainWindow& form = StartActive();
  Choose("NewAction");
  ClickPalette(5);
  ClickCell(3, 4);
  const struct {
    Qt::KeyboardModifiers modifiers;
    Qt::Key key;
    TileCode cell;
  } steps[] = {
      {Qt::ControlModifier, Qt::Key_Z, '0'},
      {Qt::ControlModifier, Qt::Key_Y, '5'},
      {Qt::ControlModifier, Qt::Key_Z, '0'},
      {Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z, '5'},
  };
  for (const auto& step : steps) {
    Press(step.key, step.modifiers);
    EXPECT_EQ(form.LevelEditor().Level().Grid().CellAt(3, 4), step.cell);
  }
}

TEST_F(WindowInputTest, TabIntoTheGridStartsTheKeysOnTheFirstLevelCell) {
  MainWindow& form = StartActive();
  Choose("NewAction");
  ClickPalette(9);
  const LevelGrid blank = form.LevelEditor().Level().Grid();
  for (const Qt::Key key : {Qt::Key_Tab, Qt::Key_Backtab}) {
    form.Grid().SetCurrentCell({0, 0});
    form.PaletteButton(0).setFocus();
    for (int i = 0; i < 40 && QApplication::focusWidget() != &form.Grid(); ++i) Press(key);
    ASSERT_EQ(QApplication::focusWidget(), &form.Grid());
    EXPECT_EQ(form.Grid().CurrentCell(), QPoint(1, 1));
    EXPECT_EQ(form.LevelEditor().Level().Grid(), blank);  // nothing painted yet
  }
  Press(Qt::Key_Right);
  EXPECT_EQ(form.LevelEditor().Level().Grid().CellAt(2, 1), '9');
}

TEST_F(WindowInputTest, TileKeysChooseTheirTileAsThePaletteDoes) {
  MainWindow& form = StartActive();
  for (int k = 15; k >= 0; --k) {
    Press(static_cast<Qt::Key>(k < 10 ? Qt::Key_0 + k : Qt::Key_A + k - 10));
    EXPECT_EQ(form.LevelEditor().State().CurrentTile, TileCodeFor(k)) << k;
    for (int b = 0; b < 16; ++b) EXPECT_EQ(form.PaletteButton(b).isChecked(), b == k) << k;
  }
  // With a modifier the keys choose nothing.
  Press(Qt::Key_7, Qt::ControlModifier);
  Press(Qt::Key_B, Qt::AltModifier);
  EXPECT_EQ(form.LevelEditor().State().CurrentTile, '0');
  EXPECT_TRUE(form.PaletteButton(0).isChecked());
}

TEST_F(WindowInputTest, ToolTipsNamePaletteTilesAndGridCells) {
  StartShown();
  const std::pair<int, QString> palette[] = {{0, "Eraser (0)"}, {9, "Water (9)"}, {14, "Bomb (E)"}};
  for (const auto& [k, tip] : palette) EXPECT_EQ(form_->PaletteButton(k).toolTip(), tip) << k;

  form_->LevelEditor().Level().WriteCells({{{12, 4}, 'E'}, {{19, 13}, 'x'}, {{1, 13}, '\t'}});
  const struct {
    int column, row;
    QString tip;
  } cases[] = {
      {12, 4, "column 12, row 4: Bomb (E)"},
      {1, 1, "column 1, row 1: Eraser (0)"},
      {19, 13, "column 19, row 13: 'x' is not a tile code"},
      {1, 13, "column 1, row 13: byte 0x09 is not a tile code"},
      {0, 4, ""},  // border cells have none
      {20, 4, ""},
      {5, 0, ""},
      {5, 14, ""},
  };
  const LevelGrid& cells = form_->LevelEditor().Level().Grid();
  for (const auto& c : cases) EXPECT_EQ(CellToolTip(cells, c.column, c.row), c.tip);

  // Resting the pointer on the grid shows them, also while it is disabled (no level is open).
  LevelGridView& grid = form_->Grid();
  const auto hover = [&grid](int column, int row) {
    const QPoint at = grid.contentsRect().topLeft() + grid.CellRect(column, row).center();
    QHelpEvent event(QEvent::ToolTip, at, grid.mapToGlobal(at));
    QApplication::sendEvent(&grid, &event);
  };
  hover(12, 4);
  EXPECT_TRUE(QToolTip::isVisible());
  EXPECT_EQ(QToolTip::text(), "column 12, row 4: Bomb (E)");
  hover(0, 4);
  EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }));
}

// A screen reader reads the focused grid's description again when told that it changed.
TEST_F(WindowInputTest, GridDescribesTheCurrentCellWhenItMovesOrChanges) {
  StartShown();
  Choose("NewAction");
  QStringList heard;
  const auto listen = [&] {
    heard << QAccessible::queryAccessibleInterface(&form_->Grid())->text(QAccessible::Description);
  };
  ClickPalette(14);
  ClickCell(12, 4);
  listen();
  QTest::keyClick(&form_->Grid(), Qt::Key_Right);  // paints as it moves
  listen();
  ClickPalette(9);
  ClickCell(13, 4);  // the current cell again, painted over
  listen();
  EXPECT_EQ(heard, (QStringList{"column 12, row 4: Bomb (E)", "column 13, row 4: Bomb (E)",
                                "column 13, row 4: Water (9)"}));
}

TEST_F(WindowInputTest, StatusLineNamesTheCellUnderThePointerTheTileTheToolAndTheNote) {
  MainWindow& form = StartShown();
  const auto shown = [this](const char* name) {
    return QAccessible::queryAccessibleInterface(Find<QLabel>(name))->text(QAccessible::Name);
  };
  EXPECT_EQ(shown("CellStatus"), "");  // no level
  EXPECT_EQ(shown("TileStatus"), "Eraser (0)");
  EXPECT_EQ(shown("ToolStatus"), "Brush");
  Choose("NewAction");
  ClickPalette(9);
  ClickCell(12, 4);
  ClickPalette(14);
  EXPECT_EQ(shown("TileStatus"), "Bomb (E)");
  LevelGridView& grid = form.Grid();
  QTest::mouseMove(&grid, grid.contentsRect().topLeft() + grid.CellRect(3, 5).center());
  EXPECT_EQ(shown("CellStatus"), "column 3, row 5: Eraser (0)");
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(&grid, &leave);
  EXPECT_EQ(shown("CellStatus"), "column 12, row 4: Water (9)");  // the current cell

  QTest::mousePress(&grid, Qt::RightButton, {}, CellCentre(grid, 12, 4));
  EXPECT_EQ(shown("TileStatus"), "Water (9)");
  Choose("ConveyorPathTool");
  EXPECT_EQ(shown("ToolStatus"), "Conveyor Path");
  form.Services().ShowNote("Last level of this folder");
  EXPECT_EQ(shown("NoteStatus"), "Last level of this folder");
}

TEST_F(WindowInputTest, PictureByPathOpensAsFileOpenDoes) {
  MainWindow& form = StartShown();
  // A path that names no file shows the error Open would, and the editor stays empty.
  const std::string missing = scratch_.filePath("missing.jpg").toStdString();
  form.OpenPictureFile(missing);
  EXPECT_EQ(dialogs_.BoxTexts(),
            QStringList{QString::fromStdString("Cannot open file " + missing + ".")});
  EXPECT_FALSE(form.LevelEditor().Level().Shown());

  const std::string paths[] = {
      Write("garbage.jpg", "not a picture"),
      Picture("narrow.jpg", 639),
      Picture("blank.jpg"),
      Picture("level.jpg"),
  };
  Write("level.dat", "tune.mid\r\n" + QByteArray("0000000000000000000\r\n").repeated(2) +
                         "0900000000000000000\r\n" +
                         QByteArray("0000000000000000000\r\n").repeated(10));
  for (const std::string& path : paths) {
    const auto byDialog = Outcome([&] {
      dialogs_.AnswerFile(QString::fromStdString(path));
      Choose("OpenAction");
    });
    const auto byPath = Outcome([&] { form.OpenPictureFile(path); });
    EXPECT_EQ(byPath, byDialog) << path;
  }
  EXPECT_TRUE(form.LevelEditor().Level().Shown());
  EXPECT_EQ(form.LevelEditor().Level().Grid().CellAt(2, 3), '9');
  EXPECT_EQ(form.LevelEditor().Level().MusicName(), "tune.mid");
}

TEST_F(WindowInputTest, DroppedJpgFileOpensAsFileOpenDoes) {
  MainWindow& form = StartShown();
  const std::string picture = Picture(QString::fromUtf8("dr\u00f6p 100%.JPG"));
  const QUrl url = QUrl::fromLocalFile(QString::fromStdString(picture));
  const struct {
    QList<QUrl> urls;
    bool taken;
  } cases[] = {
      {{QUrl::fromLocalFile(scratch_.filePath("level.png"))}, false},
      {{url, url}, false},
      {{QUrl("https://example.org/level.jpg")}, false},
      {{QUrl::fromLocalFile("/nowhere/level.jpg")}, true},
      {{url}, true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Drop(c.urls), c.taken) << c.urls.front().toString().toStdString();
  // Taken as a copy: a source that honours a move would delete the picture.
  EXPECT_EQ(dropAction_, Qt::CopyAction);
  EXPECT_EQ(dialogs_.BoxTexts(),
            (QStringList{"Cannot open file /nowhere/level.jpg.",
                         "A valid datafile does not exist so one was created!"}));
  EXPECT_TRUE(form.LevelEditor().Level().Shown());

  // Over unsaved painting the question comes first: Cancel keeps the level, Discard opens.
  ClickPalette(9);
  ClickCell(5, 5);
  for (const auto answer : {QMessageBox::Cancel, QMessageBox::Discard}) {
    dialogs_.AnswerBox(answer);
    EXPECT_TRUE(Drop({url}));
    EXPECT_EQ(dialogs_.BoxTexts().filter("Save changes").size(),
              answer == QMessageBox::Cancel ? 1 : 2);
    EXPECT_EQ(form.LevelEditor().Level().Grid().CellAt(5, 5),
              answer == QMessageBox::Cancel ? '9' : '0');
  }
}

}  // namespace
}  // namespace tollwen
