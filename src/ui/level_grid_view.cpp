#include "ui/level_grid_view.h"

#include <QPaintEvent>
#include <QPainter>

#include "display/level_renderer.h"
#include "editor/editor.h"
#include "level/grid_geometry.h"

namespace tollwen {

LevelGridView::LevelGridView(Editor& editor, QWidget* parent)
    : CellGrid(geometry::kColumnCount, geometry::kRowCount, parent), editor_(editor) {
  setObjectName(QStringLiteral("StringGrid1"));
  SetDefaultColumnWidth(geometry::kInnerSize);
  SetDefaultRowHeight(geometry::kInnerSize);
  setFixedSize(geometry::kWidgetWidth, geometry::kWidgetHeight);
  setEnabled(false);  // no level is shown until New or Open
}

void LevelGridView::SetGridBorders() {
  SetColumnWidth(0, geometry::kBorderSize);
  SetColumnWidth(ColumnCount() - 1, geometry::kBorderSize);
  SetRowHeight(0, geometry::kBorderSize);
  SetRowHeight(RowCount() - 1, geometry::kBorderSize);
}

bool LevelGridView::SelectGridCell(int column, int row) {
  if (column <= 0 || column >= ColumnCount() - 1 || row <= 0 || row >= RowCount() - 1) {
    return false;
  }
  editor_.PaintCell(column, row);
  return true;
}

void LevelGridView::RepaintGrid() {
  pictureOverGrid_ = false;
  update();
}

void LevelGridView::DrawPictureOnGrid() {
  pictureOverGrid_ = true;
  update();
}

void LevelGridView::ShowCellsChanged(const QRect& cells) {
  const EditorState& state = editor_.State();
  if (state.LevelOpen && FirstUndrawableCell(state.Grid)) {
    // A repaint of every cell stops the level display at the undrawable one; let it.
    update();
    return;
  }
  InvalidateArea(CellsPaintExtent(state.Tiles, cells));
}

QRect LevelGridView::CellPaintExtent(int column, int row) const {
  if (!geometry::IsInnerCell(column, row)) return CellRect(column, row);
  return CellsPaintExtent(editor_.State().Tiles, QRect(column, row, 1, 1));
}

void LevelGridView::PaintCells(QPainter& painter, const QRegion& dirty, bool focused) {
  const QPalette& colours = palette();
  PlainCells plain{colours.color(QPalette::Active, QPalette::Base), {-1, -1}, {}};
  if (!focused) {
    plain.highlighted = CurrentCell();
    plain.highlight = colours.color(QPalette::Active, QPalette::Highlight);
  }
  const EditorState& state = editor_.State();
  if (!state.LevelOpen) {
    PaintPlainGrid(painter, dirty, plain);
    return;
  }
  const LevelScene scene{state.Grid, state.Background, state.Tiles};
  if (PaintLevel(painter, scene, dirty, plain)) editor_.StopLevelDisplay();
}

void LevelGridView::paintEvent(QPaintEvent* event) {
  CellGrid::paintEvent(event);
  if (!pictureOverGrid_) return;
  // The picture laid over the grid, lines and all, until the level's own repaint.
  QPainter painter(this);
  const QRect contents = contentsRect();
  painter.setClipRect(contents);
  painter.drawImage(contents.topLeft(), editor_.State().Background);
}

}  // namespace tollwen
