#pragma once

#include <functional>

#include "ui/grid_gesture_listener.h"

namespace tollwen {

class Editor;

// Passes the level grid's gestures on to the editor's tools: the pointer to the chosen tool,
// the keys and the wheel to the brush, a right press to the tile pick, Escape to the
// selection. Everything goes through the window's error boundary, and nothing happens while a
// command runs.
class LevelGridInput final : public GridGestureListener {
 public:
  // Runs a piece of input as a command; false when it did not run to completion.
  using Runner = std::function<bool(const std::function<void()>&)>;

  // `tilePicked` runs after a right press made a cell's tile the current tile.
  LevelGridInput(Editor& editor, Runner run, std::function<void()> tilePicked);

  void GestureStarted(Source source) override;
  bool CellAsked(int column, int row, Qt::KeyboardModifiers modifiers) override;
  void GestureFinished(Qt::KeyboardModifiers modifiers) override;
  void GestureCancelled() override;
  void CellPicked(int column, int row) override;
  void EscapePressed() override;

 private:
  Editor& editor_;
  Runner run_;
  std::function<void()> tilePicked_;
};

}  // namespace tollwen
