#pragma once

#include <QImage>
#include <QPoint>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include "ui/cell_grid.h"

namespace tollwen::testing {

// Lets Qt deliver the scheduled repaints (the backing store updates on a short timer).
inline void WaitForPaints() {
  QTest::qWait(40);
  QCoreApplication::processEvents();
}

// What the widget shows on screen: its part of the window's backing store, which holds the
// result of every partial repaint since the window was shown.
inline QImage ScreenImage(QWidget& widget) {
  QWidget* window = widget.window();
  const QPixmap whole = window->screen()->grabWindow(window->winId());
  const QRect area(widget.mapTo(window, QPoint(0, 0)), widget.size());
  return whole.toImage().copy(area).convertToFormat(QImage::Format_RGB32);
}

// The widget painted afresh in one full repaint.
inline QImage FullRepaint(QWidget& widget) {
  return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Widget coordinates of a client (contents) point of the grid.
inline QPoint WidgetPoint(const CellGrid& grid, QPoint client) {
  return client + grid.contentsRect().topLeft();
}

// Widget coordinates of the centre of a cell.
inline QPoint CellCentre(const CellGrid& grid, int column, int row) {
  return WidgetPoint(grid, grid.CellRect(column, row).center());
}

// The colour of a client pixel in an image of the whole widget.
inline QRgb ClientPixel(const QImage& image, const CellGrid& grid, int x, int y) {
  const QPoint p = WidgetPoint(grid, QPoint(x, y));
  return image.pixel(p) | 0xFF000000u;
}

}  // namespace tollwen::testing
