// The cell grid's gestures: presses, drags and the edge repeat, keys, the wheel and the focus,
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

void CellGrid::AskFor(int column, int row, Qt::KeyboardModifiers modifiers) {
  if (listener_ != nullptr && !listener_->CellAsked(column, row, modifiers)) return;
  const QPoint old = current_;
  current_ = QPoint(column, row);
  if (old != current_) {
    InvalidateCell(old);
    InvalidateCell(current_);
    emit currentCellChanged(current_);
  }
}

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
