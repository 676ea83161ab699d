#pragma once

#include <QFrame>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QTimer>
#include <functional>
#include <vector>

namespace tollwen {

// A general owner-drawn grid of cells, in the manner of a desktop string grid without text:
// columns and rows of individual sizes with a one-pixel line after each, a current cell, a
// focus frame, and the selection protocol: every gesture that would move the current cell
// first asks the select handler, which may refuse. Knows nothing about levels. The current cell
// shows the focus frame while the grid is its window's focus widget (also while that window is
// in the background), and the highlight colour otherwise.
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
  // Told when a stroke starts and when it ends: a left-button press with its drag and edge
  // repeat until the release; one key press with its auto-repeat run; one wheel notch. Every
  // selection the grid asks for lies inside a stroke.
  using StrokeHandler = std::function<void()>;

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
  void SetStrokeHandlers(StrokeHandler started, StrokeHandler finished);

  // Repaints every cell now (synchronously).
  void RepaintAll();
  // Schedules a repaint of the pixels the given client rectangle covers.
  void InvalidateArea(const QRect& clientRect);

  QSize sizeHint() const override;

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

 private:
  void UpdateOffsets();
  // Draws the widget's edge from a copy made by the style, remade when it would look different.
  void DrawCachedFrame(QPainter& painter);
  int GridWidth() const;  // cells and lines together, in pixels
  int GridHeight() const;
  bool ValidCell(int column, int row) const;
  // Asks the select handler for (column, row); on acceptance makes it the current cell.
  void AskFor(int column, int row);
  void InvalidateCell(QPoint cell);
  void StopSelecting();
  void StartStroke();
  void FinishStroke();
  void OnRepeatTimer();
  void PaintCell(QPainter& painter, int column, int row, bool focused);

  int columnCount_;
  int rowCount_;
  std::vector<int> widths_;
  std::vector<int> heights_;
  std::vector<int> lefts_;  // x of each column's first pixel
  std::vector<int> tops_;   // y of each row's first pixel
  QPoint current_{0, 0};
  DrawCellHandler drawCell_;
  SelectCellHandler selectCell_;
  StrokeHandler strokeStarted_;
  StrokeHandler strokeFinished_;
  bool inStroke_ = false;

  // Left-button selecting: from a press on a cell until the button is released.
  bool selecting_ = false;
  QPoint lastPointer_;  // client coordinates of the last reported pointer position
  QTimer repeatTimer_;
  int wheelRemainder_ = 0;  // wheel rotation not yet worth a whole notch

  QImage frameCache_;
  int frameState_ = 0;
  qint64 framePalette_ = 0;
};

}  // namespace tollwen
