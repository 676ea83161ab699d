#pragma once

#include <QImage>
#include <QPoint>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include "ui/cell_grid.h"

// Helpers for the grid widget tests, which call them unqualified.
namespace tollwen {

// The colour of the grid lines.
inline constexpr QRgb kSilverRgb = 0xFFC0C0C0;

// Adds to `window` a button below the grid, something that can take the focus away from it.
inline QPushButton* AddFocusButton(QWidget& window) {
  auto* button = new QPushButton(QStringLiteral("other"), &window);
  button->setGeometry(0, 470, 80, 30);
  return button;
}

// Shows `window` and, once it is the active window, gives `focus` the focus. False when the
// window never became active.
[[nodiscard]] inline bool ShowActiveWithFocusOn(QWidget& window, QWidget& focus) {
  window.show();
  window.activateWindow();
  if (!QTest::qWaitForWindowActive(&window)) return false;
  focus.setFocus();
  return true;
}

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

}  // namespace tollwen
