#pragma once

#include <Qt>

namespace tollwen {

// What a CellGrid reports of the user's gestures on it. Every cell the grid asks for lies
// inside a gesture: a left press with its drag and edge repeat until the release (the
// pointer), or one key press with its auto-repeat run, or one wheel notch (the keys).
class GridGestureListener {
 public:
  enum class Source { kPointer, kKeys };

  virtual void GestureStarted(Source /*source*/) {}
  // Asked before the current cell moves to (column, row); false refuses the move.
  virtual bool CellAsked(int column, int row, Qt::KeyboardModifiers modifiers) = 0;
  virtual void GestureFinished(Qt::KeyboardModifiers /*modifiers*/) {}
  // Escape ended the pointer's gesture before its release.
  virtual void GestureCancelled() {}
  // A right press on the cell (column, row).
  virtual void CellPicked(int /*column*/, int /*row*/) {}
  // Escape while no pointer gesture is under way.
  virtual void EscapePressed() {}

 protected:
  ~GridGestureListener() = default;
};

}  // namespace tollwen
