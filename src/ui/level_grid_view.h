#pragma once

#include <functional>

#include "ui/cell_grid.h"

namespace tollwen {

class Editor;

// The level grid: a 21 x 15 CellGrid whose 19 x 13 inner cells lie over the level picture at a
// pitch of 32 pixels, framed by 15-pixel border cells. Shows the editor's level document
// (picture, tiles, start marker), the tool's preview while a gesture is under way and the
// selected cells, and repaints whatever the document and the tools announce as changed.
// The pointer shows the chosen tool. Hands its input to the editor's tool box, a right press
// to the tile pick.
//
// Repaints are asked for and carried out once the running command returns to the event loop
// (or a dialog runs one), so a command that changes the grid several times paints it once.
class LevelGridView : public CellGrid, private GridGestureListener {
  Q_OBJECT

 public:
  // Runs a piece of input as a command; false when it did not run to completion.
  using InputRunner = std::function<bool(const std::function<void()>&)>;

  explicit LevelGridView(Editor& editor, QWidget* parent = nullptr);
  ~LevelGridView() override;

  // Input runs through `run` (the window's error boundary). Until then it runs unless a
  // command is running.
  void SetInputRunner(InputRunner run) { run_ = std::move(run); }

  // Start-up step: 15-pixel first and last columns and rows.
  void SetGridBorders();
  // Every cell is painted anew.
  void RepaintGrid();

 protected:
  QRect CellPaintExtent(int column, int row) const override;
  void PaintCells(QPainter& painter, const QRegion& dirty, bool focused) override;
  void paintEvent(QPaintEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

 signals:
  // A right press made a cell's tile the current tile.
  void tilePicked();

 private:
  bool Pressed(QPoint cell, QPoint point, Qt::KeyboardModifiers modifiers) override;
  bool Dragged(QPoint cell, QPoint point, Qt::KeyboardModifiers modifiers) override;
  bool Stepped(QPoint from, QPoint to, Qt::KeyboardModifiers modifiers, bool repeat) override;
  void Ended(Qt::KeyboardModifiers modifiers) override;
  void Picked(QPoint cell) override;
  void EscapePressed() override;
  void ReturnPressed() override;
  // Runs input that answers whether the current cell moves; no when it did not run.
  bool Ask(const std::function<bool()>& input);

  // The level cells in `cells` (column and row numbers) look different now.
  void ShowCellsChanged(const QRect& cells);
  void ShowDisplayChanged();
  void ShowTool();
  // The dashed outlines of the selected cells and of a block being placed, and the part of the
  // block cut off at the level's edge.
  void PaintOverlays(QPainter& painter) const;
  // The pixels of `cells` (column and row numbers, also beyond the grid) with their lines.
  static QRect PitchArea(const QRect& cells);
  static void PaintOutline(QPainter& painter, const QRect& cells, Qt::GlobalColor dashes);

  Editor& editor_;
  InputRunner run_;
  bool pictureOverGrid_ = false;
  bool painting_ = false;
};

}  // namespace tollwen
