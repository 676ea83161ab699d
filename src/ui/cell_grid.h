#pragma once

#include <QFrame>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QTimer>
#include <functional>
#include <vector>

#include "ui/grid_frame.h"
#include "ui/grid_gesture_listener.h"

namespace tollwen {

// A general owner-drawn grid of cells, in the manner of a desktop string grid without text:
// columns and rows of individual sizes with a one-pixel line after each, a current cell, a
// focus frame, and the selection protocol: every gesture that would move the current cell
// first asks the select handler, which may refuse. Knows nothing about levels. The current cell
// shows the focus frame while the grid is its window's focus widget (also while that window is
// in the background), and the highlight colour otherwise.
//
// Input (only while enabled), reported to its GridGestureListener: a left press on a cell (or
// the line right of / below it) and every pointer position while the button is held; holding
// the left button with the pointer outside the cells steps towards it every 60 ms; arrow keys,
// Home/End/PageUp/PageDown (also with Ctrl), Ctrl+Left/Right and the wheel step to their target
// cell; Escape and Return; right presses take the focus and pick their cell, middle presses
// only take the focus; Tab moves the focus on.
class CellGrid : public QFrame {
  Q_OBJECT

 public:
  // Paints one cell's content; the grid has already filled `rect` with the cell colour.
  using DrawCellHandler =
      std::function<void(QPainter& painter, int column, int row, const QRect& rect)>;

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
  // Makes `cell` the current cell without asking anyone.
  void SetCurrentCell(QPoint cell);
  // The cell under the pointer; (-1, -1) while the pointer is beside the cells or off the grid.
  QPoint HoveredCell() const { return hovered_; }

  void SetDrawCellHandler(DrawCellHandler handler);
  // Receives the input; without one every cell is accepted.
  void SetGestureListener(GridGestureListener* listener);

  // Repaints every cell now (synchronously).
  void RepaintAll();
  // Schedules a repaint of the pixels the given client rectangle covers.
  void InvalidateArea(const QRect& clientRect);

  QSize sizeHint() const override;

 signals:
  // The current cell moved to `cell` (x = column, y = row).
  void currentCellChanged(QPoint cell);
  // The cell under the pointer changed (x = column, y = row; (-1, -1) off the cells).
  void hoveredCellChanged(QPoint cell);

 protected:
  // The client pixels that painting the cell can touch: its rectangle, plus whatever its draw
  // handler paints beyond it. A repaint of part of the grid repaints, in the usual order, every
  // cell whose extent meets the dirty area, so the result equals a repaint of the whole grid.
  virtual QRect CellPaintExtent(int column, int row) const;
  // Paints the lines and the cells meeting `dirty` (client coordinates): by default lines
  // first, then each such cell filled with its colour and handed to the draw handler. The
  // focus frame and the strips beyond the last lines are painted afterwards by the grid.
  virtual void PaintCells(QPainter& painter, const QRegion& dirty, bool focused);

  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void changeEvent(QEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  void UpdateOffsets();
  int GridWidth() const;  // cells and lines together, in pixels
  int GridHeight() const;
  bool ValidCell(int column, int row) const;
  // Makes `cell` the current cell when `accepted`.
  void MakeCurrentIf(bool accepted, QPoint cell);
  // Asks the listener to step the current cell to `cell`.
  void StepTo(QPoint cell, Qt::KeyboardModifiers modifiers, bool repeat);
  void InvalidateCell(QPoint cell);
  // The drag (if any) and the key's steps end.
  void EndInput(Qt::KeyboardModifiers modifiers);
  void OnRepeatTimer();
  void SetHovered(QPoint cell);
  void PaintCell(QPainter& painter, int column, int row, bool focused);

  int columnCount_;
  int rowCount_;
  std::vector<int> widths_;
  std::vector<int> heights_;
  std::vector<int> lefts_;  // x of each column's first pixel
  std::vector<int> tops_;   // y of each row's first pixel
  QPoint current_{0, 0};
  QPoint hovered_{-1, -1};
  DrawCellHandler drawCell_;
  GridGestureListener* listener_ = nullptr;

  // From a left press on a cell until the button is released.
  bool dragging_ = false;
  QPoint lastPointer_;  // client coordinates of the last reported pointer position
  QTimer repeatTimer_;
  int wheelRemainder_ = 0;  // wheel rotation not yet worth a whole notch

  EdgeCache edge_;
};

}  // namespace tollwen
