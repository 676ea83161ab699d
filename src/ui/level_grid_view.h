#pragma once

#include "ui/cell_grid.h"

namespace tollwen {

class Editor;

// StringGrid1: the level grid. A 21 x 15 CellGrid whose 19 x 13 inner cells lie over the
// level picture at a pitch of 32 pixels, framed by 15-pixel border cells. Paints cells from
// the editor's picture, tiles and start marker, and turns accepted selections into PaintCell.
class LevelGridView : public CellGrid {
  Q_OBJECT

 public:
  static constexpr int kColumnCount = 21;
  static constexpr int kRowCount = 15;

  explicit LevelGridView(Editor& editor, QWidget* parent = nullptr);

  // Start-up step: 15-pixel first and last columns and rows.
  void SetGridBorders();

  // The cell paint handler (StringGrid1DrawCell).
  void PaintGridCell(QPainter& painter, int column, int row, const QRect& rect);
  // The cell selection handler (StringGrid1SelectCell): refuses border cells; for an inner
  // cell runs PaintCell and shows the change.
  bool SelectGridCell(int column, int row);

  // Paints the whole background picture onto the grid at once.
  void DrawPictureOnGrid();

 protected:
  QRect CellPaintExtent(int column, int row) const override;
  void paintEvent(QPaintEvent* event) override;

 private:
  Editor& editor_;
  // Set while DrawPictureOnGrid's repaint runs: the picture is laid over the painted grid.
  bool pictureOverGrid_ = false;
};

}  // namespace tollwen
