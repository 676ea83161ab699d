#pragma once

#include <QFrame>
#include <QPoint>
#include <QRect>
#include <QTimer>
#include <functional>
#include <vector>

namespace tollwen {

// A general owner-drawn grid of cells, in the manner of a desktop string grid without text:
// columns and rows of individual sizes with a one-pixel line after each, a current cell, a
// focus frame, and the selection protocol: every gesture that would move the current cell
// first asks the select handler, which may refuse. Knows nothing about levels.
//
// Gestures (only while enabled): left press on a cell (or the line right of / below it)
// selects it; dragging selects every cell entered; holding the left button with the pointer
// outside the cells steps towards it every 60 ms; arrow keys, Home/End/PageUp/PageDown (also
// with Ctrl), Ctrl+Left/Right and the wheel ask for their target cell; right and middle
// presses take the focus only; Tab moves the focus on.
class CellGrid : public QFrame {
  Q_OBJECT

 public:
  // Paints one cell's content; the grid has already filled `rect` with the cell colour.
  using DrawCellHandler =
      std::function<void(QPainter& painter, int column, int row, const QRect& rect)>;
  // Asked before the current cell moves to (column, row); false refuses the move.
  using SelectCellHandler = std::function<bool(int column, int row)>;

  CellGrid(int columnCount, int rowCount, QWidget* parent = nullptr);

  int ColumnCount() const;
  int RowCount() const;
  void SetDefaultColumnWidth(int width);  // applies to every column
  void SetDefaultRowHeight(int height);   // applies to every row
  void SetColumnWidth(int column, int width);
  void SetRowHeight(int row, int height);
  int ColumnWidth(int column) const;
  int RowHeight(int row) const;

  // The cell's rectangle in client (contents) coordinates, excluding its lines.
  QRect CellRect(int column, int row) const;
  // The cell under a client point, counting the line right of / below a cell as that cell;
  // (-1, -1) outside the cells and lines.
  QPoint CellAt(QPoint clientPoint) const;

  QPoint CurrentCell() const;  // x = column, y = row

  void SetDrawCellHandler(DrawCellHandler handler);
  void SetSelectCellHandler(SelectCellHandler handler);

  // Repaints every cell now (synchronously).
  void RepaintAll();
  // Schedules a repaint of the pixels the given client rectangle covers.
  void InvalidateArea(const QRect& clientRect);
};

}  // namespace tollwen
