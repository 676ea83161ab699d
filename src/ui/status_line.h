#pragma once

#include <QStatusBar>
#include <string>

class QLabel;

namespace tollwen {

class Editor;
class LevelGridView;

// The line under the grid: the level cell under the pointer with its tile, in the words of the
// cell's tool tip (the current cell while the pointer is elsewhere), the current tile, the tool
// in use, and the last note. Each is a label of its own, so a screen reader can read it.
class StatusLine : public QStatusBar {
  Q_OBJECT

 public:
  // Follows `grid`, the level and the tools of `editor`.
  StatusLine(LevelGridView& grid, Editor& editor, QWidget* parent = nullptr);

  // The current tile changed.
  void ShowTile();
  // A note that asks for nothing ("Last level of this folder"); the next one replaces it.
  void ShowNote(const std::string& text);

 private:
  void ShowCell();
  void ShowTool();

  LevelGridView& grid_;
  Editor& editor_;
  QLabel* cell_;
  QLabel* tile_;
  QLabel* tool_;
  QLabel* note_;
};

}  // namespace tollwen
