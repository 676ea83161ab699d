#include "ui/level_grid_view.h"

#include <QPaintEvent>
#include <QPainter>

#include "display/grid_painter.h"
#include "editor/editor.h"

namespace tollwen {

namespace {

constexpr int kInnerSize = 31;   // inner cells: 31 pixels plus a line make the 32-pixel pitch
constexpr int kBorderSize = 15;  // border columns and rows
constexpr int kWidgetWidth = 649;
constexpr int kWidgetHeight = 457;

}  // namespace

LevelGridView::LevelGridView(Editor& editor, QWidget* parent)
    : CellGrid(kColumnCount, kRowCount, parent), editor_(editor) {
  setObjectName(QStringLiteral("StringGrid1"));
  SetDefaultColumnWidth(kInnerSize);
  SetDefaultRowHeight(kInnerSize);
  setFixedSize(kWidgetWidth, kWidgetHeight);
  setEnabled(false);  // no level is shown until New or Open
  SetDrawCellHandler([this](QPainter& painter, int column, int row, const QRect& rect) {
    PaintGridCell(painter, column, row, rect);
  });
  // While a command runs (a save lets the window repaint between rows) the grid starts no
  // other command, not even from the repeat timer.
  SetSelectCellHandler(
      [this](int column, int row) { return !editor_.Busy() && SelectGridCell(column, row); });
}

void LevelGridView::SetGridBorders() {
  SetColumnWidth(0, kBorderSize);
  SetColumnWidth(ColumnCount() - 1, kBorderSize);
  SetRowHeight(0, kBorderSize);
  SetRowHeight(RowCount() - 1, kBorderSize);
}

void LevelGridView::PaintGridCell(QPainter& painter, int column, int row, const QRect& rect) {
  tollwen::PaintGridCell(painter, editor_.State(), column, row, rect);
}

bool LevelGridView::SelectGridCell(int column, int row) {
  if (column <= 0 || column >= ColumnCount() - 1 || row <= 0 || row >= RowCount() - 1) {
    return false;
  }
  // Repaint the pixels the cell's old tile covered and those its new one covers. Everything
  // else looks as before, so this shows the same as repainting all cells, without the cost.
  const QRect before = CellPaintExtent(column, row);
  editor_.PaintCell(column, row);
  const EditorState& state = editor_.State();
  if (state.LevelOpen && HoldsUndrawableCell(state.Grid)) {
    // A full repaint would stop the level display at the bad cell; let it do exactly that.
    RepaintAll();
  } else {
    InvalidateArea(before | CellPaintExtent(column, row));
  }
  return true;
}

void LevelGridView::DrawPictureOnGrid() {
  // Qt paints only inside paint events, so the picture is laid over a synchronous repaint.
  // A hidden grid has nothing on screen to draw over.
  if (!isVisible()) return;
  pictureOverGrid_ = true;
  repaint();
  pictureOverGrid_ = false;
}

QRect LevelGridView::CellPaintExtent(int column, int row) const {
  return GridCellExtent(editor_.State(), column, row, CellRect(column, row));
}

void LevelGridView::paintEvent(QPaintEvent* event) {
  CellGrid::paintEvent(event);
  if (!pictureOverGrid_) return;
  QPainter painter(this);
  const QRect contents = contentsRect();
  painter.setClipRect(contents);
  painter.drawImage(contents.topLeft(), editor_.State().Background);
}

}  // namespace tollwen
