#include "tool/cell_outline.h"

#include <QRect>

#include "level/grid_geometry.h"

namespace tollwen {

namespace {

// Paints the ring of `thickness` pixels just inside `outer`.
void PaintRing(QImage& image, const QRect& outer, int thickness, QRgb colour) {
  const QRect inner = outer.adjusted(thickness, thickness, -thickness, -thickness);
  const QRect area = outer & image.rect();
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (!inner.contains(x, y)) image.setPixel(x, y, colour);
    }
  }
}

}  // namespace

void OutlineCells(QImage& image, const std::vector<QPoint>& cells) {
  for (const QPoint& cell : cells) {
    if (!geometry::IsInnerCell(cell.x(), cell.y())) continue;
    const QRect rect = geometry::CellRect(cell.x(), cell.y());
    const int line = geometry::kLineWidth;
    PaintRing(image, rect.adjusted(-line, -line, line, line), line, kOutlineOuterColour);
    PaintRing(image, rect, 2, kOutlineInnerColour);
  }
}

}  // namespace tollwen
