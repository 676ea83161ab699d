#pragma once

#include <QPoint>
#include <Qt>

namespace tollwen {

// What a CellGrid reports of the user's input on it. A cell is (column, row) of the grid;
// (-1, -1) lies beyond the cells. Those that answer decide whether the current cell moves there.
class GridGestureListener {
 public:
  // A left press on `cell` (the line right of or below a cell counts as that cell) at `point`
  // (client coordinates), and every position the pointer reports while that button is held.
  virtual bool Pressed(QPoint cell, QPoint point, Qt::KeyboardModifiers modifiers) = 0;
  virtual bool Dragged(QPoint cell, QPoint point, Qt::KeyboardModifiers modifiers) = 0;
  // The current cell is to step from `from` to `to`: a navigation key or a wheel notch, or,
  // while the left button is held, a key or the step towards a pointer beyond the grid's edge.
  // `repeat`: the auto-repeat of a held key.
  virtual bool Stepped(QPoint from, QPoint to, Qt::KeyboardModifiers modifiers, bool repeat) = 0;
  // The left button or the key is released, a wheel notch is done, or the grid lost the focus.
  virtual void Ended(Qt::KeyboardModifiers /*modifiers*/) {}
  // A right press on `cell`.
  virtual void Picked(QPoint /*cell*/) {}
  virtual void EscapePressed() {}
  virtual void ReturnPressed() {}

 protected:
  ~GridGestureListener() = default;
};

}  // namespace tollwen
