// The cell grid's input: presses, drags and the edge repeat, keys, the wheel and the focus,
// reported to the gesture listener, which decides whether the current cell moves.
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QtMath>
#include <algorithm>
#include <utility>

#include "ui/cell_grid.h"
#include "ui/grid_key_navigation.h"

namespace tollwen {

namespace {

constexpr int kWheelNotch = 120;  // angle delta of one notch, in eighths of a degree

// A widget position in client (contents) coordinates.
QPoint ClientPoint(const QPointF& position, const QRect& contents) {
  return QPoint(qFloor(position.x()), qFloor(position.y())) - contents.topLeft();
}

}  // namespace

void CellGrid::SetCurrentCell(QPoint cell) {
  if (!ValidCell(cell.x(), cell.y()) || cell == current_) return;
  const QPoint old = std::exchange(current_, cell);
  InvalidateCell(old);
  InvalidateCell(current_);
  emit currentCellChanged(current_);
}

void CellGrid::SetHovered(QPoint cell) {
  if (cell == hovered_) return;
  hovered_ = cell;
  emit hoveredCellChanged(cell);
}

void CellGrid::MakeCurrentIf(bool accepted, QPoint cell) {
  if (accepted) SetCurrentCell(cell);
}

void CellGrid::StepTo(QPoint cell, Qt::KeyboardModifiers modifiers, bool repeat) {
  MakeCurrentIf(listener_ == nullptr || listener_->Stepped(current_, cell, modifiers, repeat),
                cell);
}

void CellGrid::EndInput(Qt::KeyboardModifiers modifiers) {
  dragging_ = false;
  repeatTimer_.stop();
  if (listener_ != nullptr) listener_->Ended(modifiers);
}

void CellGrid::OnRepeatTimer() {
  const Qt::KeyboardModifiers modifiers = QGuiApplication::keyboardModifiers();
  if (!dragging_ || !isEnabled()) {
    EndInput(modifiers);
    return;
  }
  // Step one cell towards a pointer that lies beyond the cells (diagonally beyond a corner),
  // so holding the button outside the grid keeps going up to its edge.
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
  if (target != current_) StepTo(target, modifiers, false);
}

void CellGrid::mousePressEvent(QMouseEvent* event) {
  event->accept();
  setFocus(Qt::MouseFocusReason);
  const QPoint pointer = ClientPoint(event->position(), contentsRect());
  const QPoint cell = CellAt(pointer);
  // Right presses pick their cell; middle presses only take the focus.
  if (event->button() == Qt::RightButton) {
    if (cell.x() >= 0 && !dragging_ && listener_ != nullptr) listener_->Picked(cell);
    return;
  }
  if (event->button() != Qt::LeftButton || dragging_) return;
  lastPointer_ = pointer;
  if (cell.x() < 0) return;  // the strips beyond the last lines
  dragging_ = true;
  repeatTimer_.start();
  // A press asks for its cell even when that cell is already the current one.
  MakeCurrentIf(listener_ == nullptr || listener_->Pressed(cell, pointer, event->modifiers()),
                cell);
}

void CellGrid::mouseDoubleClickEvent(QMouseEvent* event) {
  // The second press of a double-click asks for nothing and starts no selecting.
  event->accept();
  setFocus(Qt::MouseFocusReason);
}

void CellGrid::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pointer = ClientPoint(event->position(), contentsRect());
  SetHovered(CellAt(pointer));
  if (!dragging_) {
    QFrame::mouseMoveEvent(event);
    return;
  }
  event->accept();
  if (!(event->buttons() & Qt::LeftButton)) {  // the release went elsewhere
    EndInput(event->modifiers());
    return;
  }
  lastPointer_ = pointer;
  const QPoint cell = CellAt(lastPointer_);
  MakeCurrentIf(listener_ == nullptr || listener_->Dragged(cell, lastPointer_, event->modifiers()),
                cell);
}

void CellGrid::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  if (event->button() == Qt::LeftButton) EndInput(event->modifiers());
}

void CellGrid::keyPressEvent(QKeyEvent* event) {
  const Qt::KeyboardModifiers modifiers = event->modifiers();
  if (event->key() == Qt::Key_Escape && !(modifiers & (Qt::AltModifier | Qt::MetaModifier))) {
    event->accept();
    if (listener_ != nullptr) listener_->EscapePressed();
    return;
  }
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
      !(modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
    event->accept();
    if (listener_ != nullptr) listener_->ReturnPressed();
    return;
  }
  const std::optional<QPoint> target =
      KeyTarget(event->key(), modifiers, current_, QPoint(columnCount_ - 1, rowCount_ - 1));
  if (!target) {
    QFrame::keyPressEvent(event);
    return;
  }
  event->accept();
  if (*target != current_) StepTo(*target, modifiers, event->isAutoRepeat());
}

void CellGrid::keyReleaseEvent(QKeyEvent* event) {
  // A held key's auto-repeat run ends when the key is released.
  if (!event->isAutoRepeat() && !dragging_) EndInput(event->modifiers());
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
    StepTo(QPoint(current_.x(), row), event->modifiers(), false);
    // Outside a drag each notch is done at once.
    if (!dragging_) EndInput(event->modifiers());
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
  EndInput(QGuiApplication::keyboardModifiers());
  wheelRemainder_ = 0;
  InvalidateCell(current_);
}

void CellGrid::changeEvent(QEvent* event) {
  if (event->type() == QEvent::EnabledChange) {
    // The cells look the same enabled or not; only the edge follows the palette's state.
    // A disabled grid loses the focus (Qt moves it on) and ends any drag.
    if (!isEnabled()) EndInput(QGuiApplication::keyboardModifiers());
    update(QRegion(rect()) - contentsRect());
    return;
  }
  QFrame::changeEvent(event);
}

void CellGrid::leaveEvent(QEvent* event) {
  SetHovered(QPoint(-1, -1));
  QFrame::leaveEvent(event);
}

void CellGrid::hideEvent(QHideEvent* event) {
  EndInput(QGuiApplication::keyboardModifiers());
  QFrame::hideEvent(event);
}

}  // namespace tollwen
