// Shortcuts, tile keys and tool tips of the main window, and levels opened by path or drop.
#include <QApplication>
#include <QHelpEvent>
#include <QTest>
#include <QToolTip>

#include "ui/grid_tool_tips.h"
#include "ui/level_grid_view.h"
#include "ui/speed_button.h"
#include "window_fixture.h"

namespace tollwen {
namespace {

class WindowInputTest : public test::WindowTest {
 protected:
  // The window shown and active, so that its window-wide keys reach it.
  TForm1& StartActive() {
    StartShown();
    QApplication::setActiveWindow(form_.get());
    EXPECT_TRUE(QTest::qWaitForWindowActive(form_.get()));
    return *form_;
  }
  void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
  }
};

TEST_F(WindowInputTest, MenuItemsAndWindowActionsHaveTheirShortcuts) {
  StartActive();
  const std::pair<const char*, QString> cases[] = {
      {"New1", "Ctrl+N"},          {"Open1", "Ctrl+O"},
      {"Close1", "Ctrl+W"},        {"Save1", "Ctrl+S"},
      {"SaveAs1", "Ctrl+Shift+S"}, {"SelectMusic1", "Ctrl+M"},
      {"RefreshDisplay1", "F5"},   {"Exit1", "Ctrl+Q"},
      {"Undo", "Ctrl+Z"},          {"Redo", "Ctrl+Y; Ctrl+Shift+Z"},
  };
  for (const auto& [name, keys] : cases) {
    auto* action = Find<QAction>(name);
    ASSERT_NE(action, nullptr) << name;
    EXPECT_EQ(QKeySequence::listToString(action->shortcuts()), keys) << name;
  }
  // Undo and redo belong to the window, not to a menu.
  for (const char* name : {"Undo", "Redo"}) {
    EXPECT_EQ(Find<QAction>(name)->associatedObjects(), QObjectList{form_.get()}) << name;
  }
  // A shortcut reaches its item while the menu is closed.
  Press(Qt::Key_O, Qt::ControlModifier);
  ASSERT_EQ(dialogs_.FileDialogs().size(), 1U);
  EXPECT_EQ(dialogs_.FileDialogs()[0].objectName, "OpenDialog1");
}

TEST_F(WindowInputTest, TileKeysChooseTheirTileAsThePaletteDoes) {
  TForm1& form = StartActive();
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
  Start();
  const std::pair<int, QString> palette[] = {{0, "Eraser (0)"}, {9, "Water (9)"}, {14, "Bomb (E)"}};
  for (const auto& [k, tip] : palette) EXPECT_EQ(form_->PaletteButton(k).toolTip(), tip) << k;

  LevelGrid& cells = form_->LevelEditor().State().Grid;
  cells.SetCell(12, 4, 'E');
  cells.SetCell(19, 13, 'x');
  cells.SetCell(1, 13, '\t');
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
  for (const auto& c : cases) EXPECT_EQ(CellToolTip(cells, c.column, c.row), c.tip);
}

TEST_F(WindowInputTest, HoveringAGridCellShowsItsTipAndABorderCellNone) {
  TForm1& form = StartShown();
  form.LevelEditor().State().Grid.SetCell(12, 4, 'E');
  LevelGridView& grid = form.Grid();  // disabled: no level is open
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

}  // namespace
}  // namespace tollwen
