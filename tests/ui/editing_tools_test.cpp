// The editing tools through real pointer and key events on the window's grid: each gesture
// shows its result while dragged, makes one step of the history, and Escape drops it; the pick,
// the fill, and the clipboard both ways.
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QTest>
#include <algorithm>
#include <string>
#include <vector>

#include "grid_test_util.h"
#include "support/jpeg_writer.h"
#include "ui/glyph_button.h"
#include "ui/level_grid_view.h"
#include "window_fixture.h"

namespace tollwen::test {
namespace {

class EditingToolsTest : public WindowTest {
 protected:
  // A shown window with a blank level open on a fresh picture and the brick wall chosen.
  void OpenLevel(const std::string& data = {}) {
    StartShown();
    const QString picture = scratch_.filePath("level1.jpg");
    WriteJpegFile(picture.toStdString());
    if (!data.empty()) {
      QFile file(scratch_.filePath("level1.dat"));
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
      file.write(data.data(), static_cast<qint64>(data.size()));
    }
    dialogs_.AnswerFile(picture);
    Choose("OpenAction");
    ASSERT_TRUE(Level().Shown());
    ClickPalette(5);
  }
  LevelDocument& Level() { return form_->LevelEditor().Level(); }
  LevelGridView& Grid() { return form_->Grid(); }
  // Row `row`, columns `first` to `last`, as the level holds them.
  std::string Cells(int row, int first = 1, int last = 19) {
    std::string text;
    for (int column = first; column <= last; ++column) text += Level().Grid().CellAt(column, row);
    return text;
  }
  void Press(QPoint cell, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mousePress(&Grid(), button, {}, CellCentre(Grid(), cell.x(), cell.y()));
  }
  void MoveTo(QPoint cell) { QTest::mouseMove(&Grid(), CellCentre(Grid(), cell.x(), cell.y())); }
  void Release(QPoint cell, Qt::KeyboardModifiers modifiers = {}) {
    QTest::mouseRelease(&Grid(), Qt::LeftButton, modifiers, CellCentre(Grid(), cell.x(), cell.y()));
  }
  void Drag(QPoint from, const std::vector<QPoint>& through, QPoint to,
            Qt::KeyboardModifiers modifiers = {}) {
    Press(from);
    for (QPoint cell : through) MoveTo(cell);
    MoveTo(to);
    Release(to, modifiers);
  }
  QString UndoText() { return Find<QAction>("UndoAction")->text(); }
  // The grid's pixel in the middle of a cell, freshly painted.
  QRgb Shown(QPoint cell) {
    LevelGridView& grid = Grid();
    return FullRepaint(grid).pixel(CellCentre(grid, cell.x(), cell.y()));
  }
};

struct DragCase {
  const char* tool;
  std::vector<QPoint> through;  // cells the pointer passes between (2, 2) and (6, 4)
  Qt::KeyboardModifiers modifiers;
  const char* step;
  const char* rows[3];  // rows 2 to 4, columns 2 to 6, afterwards
};

class DragToolTest : public EditingToolsTest, public ::testing::WithParamInterface<DragCase> {};

TEST_P(DragToolTest, ShowsItsResultWhileDraggedMakesOneStepAndEscapeDropsIt) {
  const DragCase& c = GetParam();
  OpenLevel();
  Choose(c.tool);
  const QPoint from(2, 2);
  const QPoint to(6, 4);
  const QRgb picture = Shown(to);

  // Escape in the middle of the drag: nothing changes and nothing is left on the grid.
  Press(from);
  for (QPoint cell : c.through) MoveTo(cell);
  MoveTo(to);
  QTest::keyClick(&Grid(), Qt::Key_Escape);
  Release(to);
  if (std::string(c.tool) != "BrushTool") {
    EXPECT_EQ(Cells(2) + Cells(3) + Cells(4), std::string(57, '0'));
    EXPECT_EQ(Shown(to), picture);
    EXPECT_FALSE(form_->LevelEditor().Modified());
  }
  form_->RunCommand([this] { form_->LevelEditor().Undo(); });

  Press(from);
  for (QPoint cell : c.through) MoveTo(cell);
  MoveTo(to);
  if (std::string(c.tool) != "BrushTool") {
    EXPECT_EQ(Cells(4), std::string(19, '0'));              // not yet in the level...
    EXPECT_NE(Shown(QPoint(4, 3)), Shown(QPoint(10, 10)));  // ...but on the grid
  }
  Release(to, c.modifiers);
  EXPECT_EQ(Cells(2, 2, 6), c.rows[0]);
  EXPECT_EQ(Cells(3, 2, 6), c.rows[1]);
  EXPECT_EQ(Cells(4, 2, 6), c.rows[2]);
  EXPECT_EQ(UndoText(), QStringLiteral("&Undo ") + c.step);

  form_->RunCommand([this] { form_->LevelEditor().Undo(); });
  EXPECT_EQ(Cells(2) + Cells(3) + Cells(4), std::string(57, '0'));
  EXPECT_FALSE(form_->LevelEditor().Modified());
}

INSTANTIATE_TEST_SUITE_P(
    Tools, DragToolTest,
    ::testing::Values(
        // A fast drag reports (2, 2) and then (6, 4) only: the brush fills in every cell the
        // pointer's way between them crossed.
        DragCase{"BrushTool", {}, {}, "Paint", {"55000", "05550", "00055"}},
        DragCase{"LineTool", {{3, 2}, {5, 3}}, {}, "Line", {"50000", "05500", "00055"}},
        DragCase{"RectangleTool", {{4, 4}}, {}, "Rectangle", {"55555", "55555", "55555"}},
        DragCase{"RectangleTool", {}, Qt::ShiftModifier, "Rectangle", {"55555", "50005", "55555"}},
        DragCase{"ConveyorPathTool",
                 {{3, 2}, {4, 2}, {4, 3}, {5, 4}},  // a diagonal step goes through a side cell
                 {},
                 "Conveyor Path",
                 {"22300", "00230", "00022"}}),
    [](const auto& info) { return std::string(info.param.tool) + std::to_string(info.index); });

TEST_F(EditingToolsTest, EachToolHasItsPointerAndTheKeysPaintWithTheBrushUnderTheOthers) {
  OpenLevel();
  std::vector<QImage> pointers;
  for (const char* tool :
       {"BrushTool", "LineTool", "RectangleTool", "FillTool", "SelectTool", "ConveyorPathTool"}) {
    Choose(tool);
    const QImage pointer = Grid().cursor().pixmap().toImage();
    EXPECT_EQ(std::count(pointers.begin(), pointers.end(), pointer), 0) << tool;
    pointers.push_back(pointer);
  }
  ClickCell(3, 3);  // the conveyor path lays nothing on one cell
  QTest::keyClick(&Grid(), Qt::Key_Right);
  QTest::keyClick(&Grid(), Qt::Key_Down);
  EXPECT_EQ(Cells(3, 3, 4) + Cells(4, 4, 4), "055");

  // Another tool chosen in the middle of a drag drops the drag, and the rest of it does nothing.
  Choose("LineTool");
  Press({2, 6});
  MoveTo({4, 6});
  Choose("BrushTool");
  MoveTo({6, 6});
  Release({6, 6});
  EXPECT_EQ(Cells(6), std::string(19, '0'));
}

TEST_F(EditingToolsTest, UnderSelectTheKeysMoveWithoutPaintingAndShiftArrowsExtend) {
  OpenLevel();
  Choose("SelectTool");
  ClickCell(3, 3);
  for (const Qt::Key key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Down, Qt::Key_Down}) {
    QTest::keyClick(&Grid(), key);
  }
  EXPECT_EQ(Grid().CurrentCell(), QPoint(5, 5));
  EXPECT_EQ(Level().Grid(), LevelGrid());  // nothing painted
  QTest::keyClick(&Grid(), Qt::Key_Right, Qt::ShiftModifier);
  QTest::keyClick(&Grid(), Qt::Key_Down, Qt::ShiftModifier);
  QTest::keyClick(&Grid(), Qt::Key_Left, Qt::ShiftModifier);
  EXPECT_EQ(form_->LevelEditor().Tools().Selection(), QRect(5, 5, 1, 2));
  EXPECT_EQ(Level().Grid(), LevelGrid());
}

TEST_F(EditingToolsTest, BrushPaintsNothingWhereThePointerWentOutsideTheLevel) {
  OpenLevel();
  const auto above = [this](int column) {
    return WidgetPoint(Grid(), {Grid().CellRect(column, 1).center().x(), 5});
  };
  Press({2, 2});
  QTest::mouseMove(&Grid(), above(2));  // out through the border...
  QTest::mouseMove(&Grid(), above(10));
  MoveTo({10, 2});  // ...and in again elsewhere
  Release({10, 2});
  // Row 1 of column 10 lay on the way in; nothing between the two columns.
  EXPECT_EQ(Cells(1) + Cells(2),
            "0000000005000000000"
            "0500000005000000000");
}

TEST_F(EditingToolsTest, RightClickPicksTheTileAndFillTakesTheEnclosedRegion) {
  std::string data = "tune.mod\r\n";
  const char* rows[] = {"0000000000000000000", "0555550000000000000", "0500050000000000000",
                        "0555550000000000000"};
  for (int row = 0; row < 13; ++row) data += std::string(row < 4 ? rows[row] : rows[0]) + "\r\n";
  OpenLevel(data);
  ClickPalette(9);

  // The pick paints nothing and puts the wall's button down, whatever the tool.
  Choose("LineTool");
  Press({2, 2}, Qt::RightButton);
  QTest::mouseRelease(&Grid(), Qt::RightButton, {}, CellCentre(Grid(), 2, 2));
  EXPECT_EQ(form_->LevelEditor().State().CurrentTile, '5');
  EXPECT_TRUE(form_->PaletteButton(5).isChecked());
  EXPECT_EQ(form_->focusWidget(), &Grid());
  EXPECT_FALSE(form_->LevelEditor().Modified());

  ClickPalette(9);
  Choose("FillTool");
  ClickCell(3, 3);
  EXPECT_EQ(Cells(3), "0599950000000000000");
  EXPECT_EQ(Cells(1), std::string(19, '0'));  // the wall keeps the water in
  EXPECT_EQ(UndoText(), "&Undo Fill");
  ClickCell(1, 1);  // everything outside the wall, up to the level's edge
  EXPECT_EQ(Cells(13), std::string(19, '9'));
  EXPECT_EQ(Cells(3), "9599959999999999999");
  form_->RunCommand([this] { form_->LevelEditor().Undo(); });
  EXPECT_EQ(Cells(13), std::string(19, '0'));
}

TEST_F(EditingToolsTest, PasteFollowsThePointerShowsItsCutAndIsPlacedByAClick) {
  OpenLevel();
  const QRgb picture = Shown({19, 13});
  const QPoint beyond(Grid().CellRect(20, 13).center());  // the border right of (19, 13)
  const auto border = [&] { return FullRepaint(Grid()).pixel(WidgetPoint(Grid(), beyond)); };
  const QRgb plainBorder = border();
  QGuiApplication::clipboard()->setText("555\n5E5\n");
  Choose("PasteAction");
  MoveTo({19, 13});
  EXPECT_NE(Shown({19, 13}), picture);  // the preview's top-left cell...
  const QRgb cut = border();            // ...and the rest shown cut off over the border
  EXPECT_NE(cut, plainBorder);
  EXPECT_GT(qRed(cut), qGreen(cut) + 20);
  EXPECT_FALSE(form_->LevelEditor().Modified());
  QTest::keyClick(&Grid(), Qt::Key_Escape);  // dropped
  EXPECT_EQ(Shown({19, 13}), picture);
  EXPECT_EQ(border(), plainBorder);

  Choose("PasteAction");
  MoveTo({6, 6});
  ClickCell(6, 6);
  EXPECT_EQ(Cells(6, 6, 8) + Cells(7, 6, 8), "5555E5");
  EXPECT_EQ(form_->LevelEditor().Tools().Selection(), QRect(6, 6, 3, 2));
  EXPECT_EQ(UndoText(), "&Undo Paste");
  ClickCell(10, 10);  // placed once: the brush is back
  EXPECT_EQ(Cells(10, 10, 10), "5");
}

TEST_F(EditingToolsTest, DragInsideTheSelectionMovesItsCellsInOneStepAndEscapePutsThemBack) {
  OpenLevel();
  const QRgb bare22 = Shown({2, 2});
  const QRgb bare44 = Shown({4, 4});
  Choose("RectangleTool");
  Drag({2, 2}, {}, {3, 2});
  const QRgb wall = Shown({2, 2});
  Choose("SelectTool");
  Drag({2, 2}, {}, {3, 3});  // a wall over an empty row

  Press({3, 2});
  MoveTo({5, 4});
  EXPECT_EQ(Shown({2, 2}), bare22);  // shown lifted...
  EXPECT_EQ(Shown({4, 4}), wall);    // ...and put down
  QTest::keyClick(&Grid(), Qt::Key_Escape);
  Release({5, 4});
  EXPECT_EQ(Cells(2, 2, 3), "55");
  EXPECT_EQ(Shown({2, 2}), wall);
  EXPECT_EQ(Shown({4, 4}), bare44);

  Drag({3, 3}, {{4, 4}}, {5, 4});  // from the selection's empty row: the whole of it moves
  EXPECT_EQ(Cells(2) + Cells(3) + Cells(4),
            std::string(19, '0') + "0005500000000000000" + std::string(19, '0'));
  EXPECT_EQ(form_->LevelEditor().Tools().Selection(), QRect(4, 3, 2, 2));
  EXPECT_EQ(UndoText(), "&Undo Move");
  form_->RunCommand([this] { form_->LevelEditor().Undo(); });
  EXPECT_EQ(Cells(2, 2, 3) + Cells(3, 4, 5), "5500");
}

TEST_F(EditingToolsTest, FlipAndRotateTurnTheSelectionWithItsConveyorsInOneNamedStep) {
  OpenLevel();
  Choose("ConveyorPathTool");
  Drag({2, 2}, {{3, 2}}, {3, 3});  // "23" over "03": right, then down
  Choose("SelectTool");
  Drag({2, 2}, {}, {3, 3});
  Choose("FlipHorizontallyAction");
  EXPECT_EQ(Cells(2, 2, 3) + Cells(3, 2, 3), "3430");  // left, then down
  EXPECT_EQ(UndoText(), "&Undo Flip Horizontally");

  // A block that no longer fits once rotated is cut at the level's edge.
  Choose("RectangleTool");
  Drag({17, 13}, {}, {19, 13});
  Choose("SelectTool");
  Drag({17, 13}, {}, {19, 13});
  Choose("RotateClockwiseAction");
  EXPECT_EQ(Cells(13, 17, 19), "500");
  EXPECT_EQ(form_->LevelEditor().Tools().Selection(), QRect(17, 13, 1, 1));
  EXPECT_EQ(UndoText(), "&Undo Rotate Clockwise");
}

TEST_F(EditingToolsTest, ClipboardCarriesRowsOfCodesBothWaysAndRefusesOtherText) {
  OpenLevel();
  QClipboard* clipboard = QGuiApplication::clipboard();
  Choose("RectangleTool");
  Drag({2, 2}, {}, {3, 3});
  ClickPalette(14);
  Choose("BrushTool");
  ClickCell(4, 3);

  Choose("SelectTool");
  Drag({2, 2}, {{3, 3}}, {4, 3});
  EXPECT_EQ(form_->LevelEditor().Tools().Selection(), QRect(2, 2, 3, 2));
  Choose("CopyAction");
  EXPECT_EQ(clipboard->text(), "550\n55E\n");
  Choose("CutAction");
  EXPECT_EQ(Cells(2, 2, 4) + Cells(3, 2, 4), "000000");
  EXPECT_EQ(UndoText(), "&Undo Cut");

  // Pasted where it is clicked, in one step; cells past the edge are dropped.
  Choose("PasteAction");
  ClickCell(18, 12);
  EXPECT_EQ(Cells(12, 17, 19), "055");
  EXPECT_EQ(Cells(13, 17, 19), "055");
  form_->RunCommand([this] { form_->LevelEditor().Undo(); });
  EXPECT_EQ(Cells(12, 17, 19), "000");

  // Text from outside the editor: lower case and CR LF are fine, and '0' empties its cell;
  // Return places it at the current cell.
  clipboard->setText("a0b\r\nF\r\n");
  ClickPalette(5);
  Choose("BrushTool");
  ClickCell(2, 1);
  Choose("SelectTool");
  ClickCell(1, 1);
  Choose("PasteAction");
  QTest::keyClick(&Grid(), Qt::Key_Return);
  EXPECT_EQ(Cells(1, 1, 3), "A0B");
  EXPECT_EQ(Cells(2, 1, 3), "F00");

  // Anything else is refused with a message, and nothing changes.
  const LevelGrid before = Level().Grid();
  clipboard->setText("tune.mod");
  Choose("PasteAction");
  EXPECT_EQ(Level().Grid(), before);
  EXPECT_TRUE(dialogs_.BoxTexts().last().contains("rows of tile codes"));
  // So is a text longer than a whole level's, before it is read.
  clipboard->setText(QString(274, QLatin1Char('5')));
  Choose("PasteAction");
  EXPECT_EQ(Level().Grid(), before);
  EXPECT_TRUE(dialogs_.BoxTexts().last().contains("more text than a whole level"));

  // Delete empties the selection; Escape clears it, and with it cut, copy and delete.
  Choose("SelectAllAction");
  Choose("DeleteAction");
  EXPECT_EQ(Level().Grid(), LevelGrid());
  QTest::keyClick(&Grid(), Qt::Key_Escape);
  EXPECT_TRUE(form_->LevelEditor().Tools().Selection().isEmpty());
  EXPECT_FALSE(Find<QAction>("CopyAction")->isEnabled());
}

}  // namespace
}  // namespace tollwen::test
