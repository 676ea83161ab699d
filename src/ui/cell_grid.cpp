#include "ui/cell_grid.h"

#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QStyleOptionFrame>
#include <QWheelEvent>
#include <QtMath>
#include <algorithm>
#include <utility>

#include "display/colours.h"
#include "ui/grid_key_navigation.h"

namespace tollwen {

namespace {

constexpr int kDefaultColumnWidth = 64;
constexpr int kDefaultRowHeight = 24;
constexpr int kRepeatIntervalMs = 60;
constexpr int kWheelNotch = 120;  // angle delta of one notch, in eighths of a degree

// Index of the column (or row) whose cell or following line holds the coordinate v, or -1.
int IndexAt(int v, const std::vector<int>& starts, const std::vector<int>& sizes) {
  if (v < 0) return -1;
  for (std::size_t i = 0; i < starts.size(); ++i) {
    if (v < starts[i] + sizes[i] + 1) return static_cast<int>(i);
  }
  return -1;
}

// A widget position in client (contents) coordinates.
QPoint ClientPoint(const QPointF& position, const QRect& contents) {
  return QPoint(qFloor(position.x()), qFloor(position.y())) - contents.topLeft();
}

}  // namespace

CellGrid::CellGrid(int columnCount, int rowCount, QWidget* parent)
    : QFrame(parent),
      columnCount_(std::max(columnCount, 1)),
      rowCount_(std::max(rowCount, 1)),
      widths_(columnCount_, kDefaultColumnWidth),
      heights_(rowCount_, kDefaultRowHeight) {
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setLineWidth(2);
  setFocusPolicy(Qt::StrongFocus);
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

void CellGrid::StartGesture(GridGestureListener::Source source) {
  if (inGesture_) return;
  inGesture_ = true;
  if (listener_ != nullptr) listener_->GestureStarted(source);
}

void CellGrid::FinishGesture(Qt::KeyboardModifiers modifiers) {
  if (!inGesture_) return;
  inGesture_ = false;
  if (listener_ != nullptr) listener_->GestureFinished(modifiers);
}

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

void CellGrid::AskFor(int column, int row, Qt::KeyboardModifiers modifiers) {
  if (listener_ != nullptr && !listener_->CellAsked(column, row, modifiers)) return;
  const QPoint old = current_;
  current_ = QPoint(column, row);
  if (old != current_) {
    InvalidateCell(old);
    InvalidateCell(current_);
  }
}

void CellGrid::InvalidateCell(QPoint cell) { InvalidateArea(CellPaintExtent(cell.x(), cell.y())); }

void CellGrid::StopSelecting(Qt::KeyboardModifiers modifiers, bool cancelled) {
  const bool wasSelecting = std::exchange(selecting_, false);
  repeatTimer_.stop();
  if (cancelled && wasSelecting && inGesture_) {
    inGesture_ = false;
    if (listener_ != nullptr) listener_->GestureCancelled();
    return;
  }
  FinishGesture(modifiers);
}

void CellGrid::OnRepeatTimer() {
  const Qt::KeyboardModifiers modifiers = QGuiApplication::keyboardModifiers();
  if (!selecting_ || !isEnabled()) {
    StopSelecting(modifiers);
    return;
  }
  // Step one cell towards a pointer that lies beyond the cells (diagonally beyond a corner),
  // so holding the button outside the grid keeps selecting up to its edge.
  int dx = 0;
  int dy = 0;
  if (lastPointer_.x() < 0) {
    dx = -1;
  } else if (lastPointer_.x() > GridWidth()) {
    dx = 1;
  }
  if (lastPointer_.y() < 0) {
    dy = -1;
  } else if (lastPointer_.y() > GridHeight()) {
    dy = 1;
  }
  const QPoint target(std::clamp(current_.x() + dx, 0, columnCount_ - 1),
                      std::clamp(current_.y() + dy, 0, rowCount_ - 1));
  if (target != current_) AskFor(target.x(), target.y(), modifiers);
}

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

void CellGrid::mousePressEvent(QMouseEvent* event) {
  event->accept();
  setFocus(Qt::MouseFocusReason);
  const QPoint pointer = ClientPoint(event->position(), contentsRect());
  const QPoint cell = CellAt(pointer);
  // Right presses pick their cell; middle presses only take the focus.
  if (event->button() == Qt::RightButton) {
    if (cell.x() >= 0 && !selecting_ && listener_ != nullptr) {
      listener_->CellPicked(cell.x(), cell.y());
    }
    return;
  }
  if (event->button() != Qt::LeftButton || selecting_) return;
  lastPointer_ = pointer;
  if (cell.x() < 0) return;           // the strips beyond the last lines
  FinishGesture(event->modifiers());  // a key still held ends its gesture here
  selecting_ = true;
  repeatTimer_.start();
  StartGesture(GridGestureListener::Source::kPointer);
  // A press asks for its cell even when that cell is already the current one.
  AskFor(cell.x(), cell.y(), event->modifiers());
}

void CellGrid::mouseDoubleClickEvent(QMouseEvent* event) {
  // The second press of a double-click asks for nothing and starts no selecting.
  event->accept();
  setFocus(Qt::MouseFocusReason);
}

void CellGrid::mouseMoveEvent(QMouseEvent* event) {
  if (!selecting_) {
    QFrame::mouseMoveEvent(event);
    return;
  }
  event->accept();
  if (!(event->buttons() & Qt::LeftButton)) {  // the release went elsewhere
    StopSelecting(event->modifiers());
    return;
  }
  lastPointer_ = ClientPoint(event->position(), contentsRect());
  const QPoint cell = CellAt(lastPointer_);
  // A refused cell leaves the current cell where it was, so every move inside it asks again.
  if (cell.x() >= 0 && cell != current_) AskFor(cell.x(), cell.y(), event->modifiers());
}

void CellGrid::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  if (event->button() == Qt::LeftButton) StopSelecting(event->modifiers());
}

void CellGrid::keyPressEvent(QKeyEvent* event) {
  const Qt::KeyboardModifiers modifiers = event->modifiers();
  if (event->key() == Qt::Key_Escape && !(modifiers & (Qt::AltModifier | Qt::MetaModifier))) {
    event->accept();
    if (selecting_) {
      StopSelecting(modifiers, true);  // the drag is dropped; the release that follows ends it
    } else {
      FinishGesture(modifiers);
      if (listener_ != nullptr) listener_->EscapePressed();
    }
    return;
  }
  const std::optional<QPoint> target =
      KeyTarget(event->key(), modifiers, current_, QPoint(columnCount_ - 1, rowCount_ - 1));
  if (!target) {
    QFrame::keyPressEvent(event);
    return;
  }
  event->accept();
  if (*target == current_ || selecting_) {
    // Inside a drag the key's cell belongs to the drag's gesture.
    if (*target != current_) AskFor(target->x(), target->y(), modifiers);
    return;
  }
  // A held key's auto-repeat run is one gesture, which ends when the key is released.
  if (!event->isAutoRepeat()) FinishGesture(modifiers);
  StartGesture(GridGestureListener::Source::kKeys);
  AskFor(target->x(), target->y(), modifiers);
}

void CellGrid::keyReleaseEvent(QKeyEvent* event) {
  if (!event->isAutoRepeat() && !selecting_) FinishGesture(event->modifiers());
  QFrame::keyReleaseEvent(event);
}

void CellGrid::wheelEvent(QWheelEvent* event) {
  if (!hasFocus()) {
    event->ignore();
    return;
  }
  event->accept();
  // One row per notch: down when turned towards the user, up when turned away. Smaller steps
  // from fine-grained wheels add up to whole notches.
  wheelRemainder_ += event->angleDelta().y();
  while (wheelRemainder_ >= kWheelNotch || wheelRemainder_ <= -kWheelNotch) {
    const int step = wheelRemainder_ > 0 ? -1 : 1;
    wheelRemainder_ += step * kWheelNotch;
    const int row = std::clamp(current_.y() + step, 0, rowCount_ - 1);
    if (row == current_.y()) continue;
    if (selecting_) {
      AskFor(current_.x(), row, event->modifiers());
      continue;
    }
    // Each notch is a gesture of its own.
    FinishGesture(event->modifiers());
    StartGesture(GridGestureListener::Source::kKeys);
    AskFor(current_.x(), row, event->modifiers());
    FinishGesture(event->modifiers());
  }
}

// Only the current cell looks different with the focus (QWidget's handlers would repaint the
// whole grid).
void CellGrid::focusInEvent(QFocusEvent* event) {
  event->accept();
  InvalidateCell(current_);  // the highlight gives way to the focus frame
}

void CellGrid::focusOutEvent(QFocusEvent* event) {
  event->accept();
  StopSelecting(QGuiApplication::keyboardModifiers());
  wheelRemainder_ = 0;
  InvalidateCell(current_);
}

void CellGrid::changeEvent(QEvent* event) {
  if (event->type() == QEvent::EnabledChange) {
    // The cells look the same enabled or not; only the edge follows the palette's state.
    // A disabled grid loses the focus (Qt moves it on) and ends any selecting.
    if (!isEnabled()) StopSelecting(QGuiApplication::keyboardModifiers());
    update(QRegion(rect()) - contentsRect());
    return;
  }
  QFrame::changeEvent(event);
}

void CellGrid::hideEvent(QHideEvent* event) {
  StopSelecting(QGuiApplication::keyboardModifiers());
  QFrame::hideEvent(event);
}

}  // namespace tollwen
