#include "ui/level_grid_view.h"

#include <QFocusEvent>
#include <QPaintEvent>
#include <QPainter>

#include "display/level_renderer.h"
#include "editor/editor.h"
#include "level/grid_geometry.h"
#include "ui/tool_cursors.h"

namespace tollwen {

namespace {

// The level with the tool's preview laid over its cells.
LevelGrid WithPreview(const LevelGrid& grid, const CellChanges& preview) {
  LevelGrid shown = grid;
  for (const CellChange& change : preview)
    shown.SetCell(change.cell.x(), change.cell.y(), change.code);
  return shown;
}

}  // namespace

LevelGridView::LevelGridView(Editor& editor, QWidget* parent)
    : CellGrid(geometry::kColumnCount, geometry::kRowCount, parent),
      editor_(editor),
      run_([&editor](const std::function<void()>& input) {
        if (editor.Busy()) return false;
        input();
        return true;
      }) {
  setObjectName(QStringLiteral("LevelGrid"));
  SetDefaultColumnWidth(geometry::kInnerSize);
  SetDefaultRowHeight(geometry::kInnerSize);
  setFixedSize(geometry::kWidgetWidth, geometry::kWidgetHeight);
  setEnabled(false);  // no level is shown until New or Open

  const LevelDocument& level = editor_.Level();
  connect(&level, &LevelDocument::cellsChanged, this, &LevelGridView::ShowCellsChanged);
  connect(&level, &LevelDocument::displayChanged, this, &LevelGridView::ShowDisplayChanged);
  connect(&level, &LevelDocument::pictureLaidOver, this, [this] {
    pictureOverGrid_ = true;
    update();
  });
  const ToolBox& tools = editor_.Tools();
  connect(&tools, &ToolBox::previewChanged, this, &LevelGridView::ShowCellsChanged);
  connect(&tools, &ToolBox::selectionChanged, this, &LevelGridView::ShowCellsChanged);
  connect(&tools, &ToolBox::toolChanged, this, &LevelGridView::ShowTool);
  ShowTool();
  // The grid follows the pointer for the status line and a paste's preview.
  connect(this, &CellGrid::hoveredCellChanged, this,
          [this](QPoint cell) { run_([&] { editor_.Tools().Hover(cell); }); });
  SetGestureListener(this);
}

// The grid ends its input when it is hidden on the way out; nothing is left to hear of it.
LevelGridView::~LevelGridView() { SetGestureListener(nullptr); }

bool LevelGridView::Ask(const std::function<bool()>& input) {
  bool accepted = false;
  run_([&] { accepted = input(); });
  return accepted;
}

bool LevelGridView::Pressed(QPoint cell, QPoint point, Qt::KeyboardModifiers modifiers) {
  return Ask([&] { return editor_.Tools().Press(cell, geometry::LevelPoint(point), modifiers); });
}

bool LevelGridView::Dragged(QPoint cell, QPoint point, Qt::KeyboardModifiers modifiers) {
  return Ask([&] { return editor_.Tools().Drag(cell, geometry::LevelPoint(point), modifiers); });
}

bool LevelGridView::Stepped(QPoint from, QPoint to, Qt::KeyboardModifiers modifiers, bool repeat) {
  return Ask([&] { return editor_.Tools().Step(from, to, modifiers, repeat); });
}

void LevelGridView::Ended(Qt::KeyboardModifiers modifiers) {
  run_([&] { editor_.Tools().End(modifiers); });
}

void LevelGridView::Picked(QPoint cell) {
  if (run_([&] { editor_.PickTile(cell.x(), cell.y()); })) emit tilePicked();
}

void LevelGridView::EscapePressed() {
  run_([this] { editor_.Tools().Escape(); });
}

void LevelGridView::ReturnPressed() {
  run_([this] { editor_.Tools().Confirm(CurrentCell()); });
}

void LevelGridView::SetGridBorders() {
  SetColumnWidth(0, geometry::kBorderSize);
  SetColumnWidth(ColumnCount() - 1, geometry::kBorderSize);
  SetRowHeight(0, geometry::kBorderSize);
  SetRowHeight(RowCount() - 1, geometry::kBorderSize);
}

void LevelGridView::RepaintGrid() {
  pictureOverGrid_ = false;
  update();
}

void LevelGridView::ShowDisplayChanged() {
  // The display stopping inside a paint leaves the cells painted so far as they are.
  if (painting_) return;
  setEnabled(editor_.Level().Editable());
  RepaintGrid();
}

void LevelGridView::ShowTool() {
  const ToolBox& tools = editor_.Tools();
  setCursor(ToolCursorFor(tools.Current().Info()));
  // A paste waits for a click or Return on the grid.
  if (tools.Pasting() && isEnabled()) setFocus(Qt::OtherFocusReason);
}

void LevelGridView::ShowCellsChanged(const QRect& cells) {
  const LevelDocument& level = editor_.Level();
  if (level.Shown() && FirstUndrawableCell(level.Grid())) {
    // A repaint of every cell stops the level display at the undrawable one; let it.
    update();
    return;
  }
  InvalidateArea(CellsPaintExtent(editor_.State().Tiles, cells));
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
  const LevelDocument& level = editor_.Level();
  if (!level.Shown()) {
    PaintPlainGrid(painter, dirty, plain);
  } else {
    const CellChanges& preview = editor_.Tools().Preview();
    const LevelGrid shown = preview.empty() ? level.Grid() : WithPreview(level.Grid(), preview);
    const LevelScene scene{shown, level.Picture(), editor_.State().Tiles};
    painting_ = true;
    if (PaintLevel(painter, scene, dirty, plain)) editor_.StopLevelDisplay();
    painting_ = false;
  }
  if (level.Editable()) PaintOverlays(painter);
}

void LevelGridView::PaintOverlays(QPainter& painter) const {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setBrush(Qt::NoBrush);
  const ToolBox& tools = editor_.Tools();
  PaintOutline(painter, tools.Selection(), Qt::black);
  const QRect block = tools.Block();
  if (!block.isEmpty()) {
    // The part of a block that lies beyond the level's edge is cut off: a red veil shows it
    // over the border cells.
    const QRegion cut = QRegion(PitchArea(block)) -
                        QRegion(PitchArea(QRect(1, 1, LevelGrid::kColumns, LevelGrid::kRows)));
    for (const QRect& part : cut) painter.fillRect(part, QColor(220, 0, 0, 150));
    PaintOutline(painter, block, Qt::blue);
  }
  painter.restore();
}

QRect LevelGridView::PitchArea(const QRect& cells) {
  return QRect(geometry::CellRect(cells.left(), cells.top()).topLeft(),
               geometry::CellRect(cells.right(), cells.bottom()).bottomRight() + QPoint(1, 1));
}

void LevelGridView::PaintOutline(QPainter& painter, const QRect& cells, Qt::GlobalColor dashes) {
  if (cells.isEmpty()) return;
  // Dashes over white, two pixels wide just inside the cells: visible on any picture, and unlike
  // the dotted focus frame.
  const QRect outline = PitchArea(cells).adjusted(0, 0, -2, -2);
  for (const QPen& pen : {QPen(Qt::white, 0), QPen(dashes, 0, Qt::DashLine)}) {
    painter.setPen(pen);
    painter.drawRect(outline);
    painter.drawRect(outline.adjusted(1, 1, -1, -1));
  }
}

void LevelGridView::focusInEvent(QFocusEvent* event) {
  // Reached with Tab while the current cell is on the border, where the arrow keys would only
  // ask for other border cells: the keys start from the first level cell, painting nothing.
  const Qt::FocusReason reason = event->reason();
  const QPoint current = CurrentCell();
  if ((reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) &&
      !geometry::IsInnerCell(current.x(), current.y())) {
    SetCurrentCell(QPoint(1, 1));
  }
  CellGrid::focusInEvent(event);
}

void LevelGridView::paintEvent(QPaintEvent* event) {
  CellGrid::paintEvent(event);
  if (!pictureOverGrid_) return;
  // The picture laid over the grid, lines and all, until the level's own repaint.
  QPainter painter(this);
  const QRect contents = contentsRect();
  painter.setClipRect(contents);
  painter.drawImage(contents.topLeft(), editor_.Level().Picture());
}

}  // namespace tollwen
