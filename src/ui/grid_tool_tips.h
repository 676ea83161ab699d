#pragma once

#include <QObject>
#include <QString>

namespace tollwen {

class CellGrid;
class LevelGrid;

// The tool tip of grid cell (column, row): "column 12, row 4: Bomb (E)" for an inner cell,
// named from the code the level grid holds there; empty for the border cells.
QString CellToolTip(const LevelGrid& cells, int column, int row);

// Shows the cell tool tip for the cell under the pointer while it rests over the grid, also
// while the grid is disabled; over border cells and beside the cells nothing is shown.
class GridToolTips : public QObject {
  Q_OBJECT

 public:
  // Watches `grid`; `cells` is the level grid it shows, read each time a tip is shown.
  GridToolTips(CellGrid& grid, const LevelGrid& cells);

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  CellGrid& grid_;
  const LevelGrid& cells_;
};

}  // namespace tollwen
