#include "ui/cell_grid.h"

#include <QPaintEvent>
#include <QPainter>
#include <QStyleOptionFrame>
#include <algorithm>

#include "display/colours.h"
#include "ui/accessibility.h"

namespace tollwen {

namespace {

constexpr int kDefaultColumnWidth = 64;
constexpr int kDefaultRowHeight = 24;
constexpr int kRepeatIntervalMs = 60;

// Index of the column (or row) whose cell or following line holds the coordinate v, or -1.
int IndexAt(int v, const std::vector<int>& starts, const std::vector<int>& sizes) {
  if (v < 0) return -1;
  for (std::size_t i = 0; i < starts.size(); ++i) {
    if (v < starts[i] + sizes[i] + 1) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

CellGrid::CellGrid(int columnCount, int rowCount, QWidget* parent)
    : QFrame(parent),
      columnCount_(std::max(columnCount, 1)),
      rowCount_(std::max(rowCount, 1)),
      widths_(columnCount_, kDefaultColumnWidth),
      heights_(rowCount_, kDefaultRowHeight) {
  InstallCellGridAccessibility();
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setLineWidth(2);
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);  // the cell under the pointer is followed with no button held
  // Every pixel of the widget is painted by paintEvent; nothing needs erasing first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  repeatTimer_.setInterval(kRepeatIntervalMs);
  connect(&repeatTimer_, &QTimer::timeout, this, &CellGrid::OnRepeatTimer);
  UpdateOffsets();
}

int CellGrid::ColumnCount() const { return columnCount_; }

int CellGrid::RowCount() const { return rowCount_; }

void CellGrid::SetDefaultColumnWidth(int width) {
  std::fill(widths_.begin(), widths_.end(), std::max(width, 0));
  UpdateOffsets();
}

void CellGrid::SetDefaultRowHeight(int height) {
  std::fill(heights_.begin(), heights_.end(), std::max(height, 0));
  UpdateOffsets();
}

void CellGrid::SetColumnWidth(int column, int width) {
  if (column < 0 || column >= columnCount_) return;
  widths_[column] = std::max(width, 0);
  UpdateOffsets();
}

void CellGrid::SetRowHeight(int row, int height) {
  if (row < 0 || row >= rowCount_) return;
  heights_[row] = std::max(height, 0);
  UpdateOffsets();
}

int CellGrid::ColumnWidth(int column) const {
  return column >= 0 && column < columnCount_ ? widths_[column] : 0;
}

int CellGrid::RowHeight(int row) const { return row >= 0 && row < rowCount_ ? heights_[row] : 0; }

QRect CellGrid::CellRect(int column, int row) const {
  if (!ValidCell(column, row)) return {};
  return QRect(lefts_[column], tops_[row], widths_[column], heights_[row]);
}

QPoint CellGrid::CellAt(QPoint clientPoint) const {
  const int column = IndexAt(clientPoint.x(), lefts_, widths_);
  const int row = IndexAt(clientPoint.y(), tops_, heights_);
  if (column < 0 || row < 0) return {-1, -1};
  return {column, row};
}

QPoint CellGrid::CurrentCell() const { return current_; }

void CellGrid::SetDrawCellHandler(DrawCellHandler handler) { drawCell_ = std::move(handler); }

void CellGrid::SetGestureListener(GridGestureListener* listener) { listener_ = listener; }

void CellGrid::RepaintAll() { repaint(); }

void CellGrid::InvalidateArea(const QRect& clientRect) {
  const QRect contents = contentsRect();
  update(clientRect.translated(contents.topLeft()) & contents);
}

QSize CellGrid::sizeHint() const {
  const int frame = 2 * frameWidth();
  return {GridWidth() + frame, GridHeight() + frame};
}

QRect CellGrid::CellPaintExtent(int column, int row) const { return CellRect(column, row); }

void CellGrid::UpdateOffsets() {
  lefts_.resize(columnCount_);
  tops_.resize(rowCount_);
  int x = 0;
  for (int c = 0; c < columnCount_; ++c) {
    lefts_[c] = x;
    x += widths_[c] + 1;
  }
  int y = 0;
  for (int r = 0; r < rowCount_; ++r) {
    tops_[r] = y;
    y += heights_[r] + 1;
  }
  updateGeometry();
  update();
}

int CellGrid::GridWidth() const { return lefts_.back() + widths_.back() + 1; }

int CellGrid::GridHeight() const { return tops_.back() + heights_.back() + 1; }

bool CellGrid::ValidCell(int column, int row) const {
  return column >= 0 && column < columnCount_ && row >= 0 && row < rowCount_;
}

void CellGrid::InvalidateCell(QPoint cell) { InvalidateArea(CellPaintExtent(cell.x(), cell.y())); }

void CellGrid::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  if (!contentsRect().contains(event->rect())) {
    QStyleOptionFrame option;
    initStyleOption(&option);
    edge_.Draw(painter, rect(), contentsRect(), static_cast<int>(option.state),
               palette().cacheKey(), [this](QPainter& edge) { drawFrame(&edge); });
  }

  const QRect contents = contentsRect();
  painter.setClipRect(contents, Qt::IntersectClip);
  painter.translate(contents.topLeft());
  const QRegion dirty = event->region().translated(-contents.topLeft());
  // The window's focus widget, whether or not the window itself is active: the look of the
  // current cell does not change when another window comes to the front.
  const bool focused = window()->focusWidget() == this;
  PaintCells(painter, dirty, focused);

  // The area beyond the last line: anything a cell painted past the grid is covered again.
  const QColor base = palette().color(QPalette::Active, QPalette::Base);
  const int gridWidth = GridWidth();
  const int gridHeight = GridHeight();
  if (contents.width() > gridWidth) {
    painter.fillRect(QRect(gridWidth, 0, contents.width() - gridWidth, gridHeight), base);
  }
  if (contents.height() > gridHeight) {
    painter.fillRect(QRect(0, gridHeight, contents.width(), contents.height() - gridHeight), base);
  }
  // Later cells never paint over an earlier one's rectangle, so the frame can go on last.
  const QRect current = CellRect(current_.x(), current_.y());
  if (focused && dirty.intersects(current)) DrawFocusFrame(painter, current);
}

void CellGrid::PaintCells(QPainter& painter, const QRegion& dirty, bool focused) {
  const QColor lineColour = QColor::fromRgb(kSilver);
  const int gridWidth = GridWidth();
  const int gridHeight = GridHeight();
  // Lines first, then the cells row by row. Only cells whose painted extent meets the dirty
  // area are painted; Qt clips the painting to that area, so the pixels that do change come
  // out exactly as a repaint of every cell would leave them.
  for (int c = 0; c < columnCount_; ++c) {
    painter.fillRect(QRect(lefts_[c] + widths_[c], 0, 1, gridHeight), lineColour);
  }
  for (int r = 0; r < rowCount_; ++r) {
    painter.fillRect(QRect(0, tops_[r] + heights_[r], gridWidth, 1), lineColour);
  }
  for (int r = 0; r < rowCount_; ++r) {
    for (int c = 0; c < columnCount_; ++c) {
      if (dirty.intersects(CellPaintExtent(c, r))) PaintCell(painter, c, r, focused);
    }
  }
}

void CellGrid::PaintCell(QPainter& painter, int column, int row, bool focused) {
  const QRect rect = CellRect(column, row);
  const bool isCurrent = current_ == QPoint(column, row);
  const QPalette::ColorRole fill = isCurrent && !focused ? QPalette::Highlight : QPalette::Base;
  painter.fillRect(rect, palette().color(QPalette::Active, fill));
  if (drawCell_) {
    painter.save();
    drawCell_(painter, column, row, rect);
    painter.restore();
  }
}

}  // namespace tollwen
