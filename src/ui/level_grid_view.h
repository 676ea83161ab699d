#pragma once

#include "ui/cell_grid.h"

namespace tollwen {

class Editor;

// StringGrid1: the level grid. A 21 x 15 CellGrid whose 19 x 13 inner cells lie over the
// level picture at a pitch of 32 pixels, framed by 15-pixel border cells. Paints the editor's
// level (picture, tiles, start marker) and turns accepted selections into PaintCell.
//
// Repaints are asked for and carried out once the running command returns to the event loop
// (or a dialog runs one), so a command that changes the grid several times paints it once.
class LevelGridView : public CellGrid {
  Q_OBJECT

 public:
  explicit LevelGridView(Editor& editor, QWidget* parent = nullptr);

  // Start-up step: 15-pixel first and last columns and rows.
  void SetGridBorders();

  // The cell selection handler (StringGrid1SelectCell): refuses border cells; for an inner
  // cell runs PaintCell, whose change the editor announces.
  bool SelectGridCell(int column, int row);

  // Every cell is painted anew.
  void RepaintGrid();
  // The whole background picture is laid over the grid at the next paint; a RepaintGrid
  // before that paint replaces it.
  void DrawPictureOnGrid();
  // Shows the level cells in `cells` (column and row numbers) anew.
  void ShowCellsChanged(const QRect& cells);

 protected:
  QRect CellPaintExtent(int column, int row) const override;
  void PaintCells(QPainter& painter, const QRegion& dirty, bool focused) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  Editor& editor_;
  bool pictureOverGrid_ = false;
};

}  // namespace tollwen
