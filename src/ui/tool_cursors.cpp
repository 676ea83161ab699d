#include "ui/tool_cursors.h"

#include <QPainter>
#include <QPixmap>

namespace tollwen {

namespace {

constexpr int kSize = 32;
constexpr int kHotSpot = 10;
const QRect kSignBox(17, 17, 12, 12);

void DrawCursor(QPainter& painter, const ToolInfo& tool) {
  painter.drawLine(kHotSpot, 0, kHotSpot, kHotSpot - 3);
  painter.drawLine(kHotSpot, kHotSpot + 3, kHotSpot, 2 * kHotSpot);
  painter.drawLine(0, kHotSpot, kHotSpot - 3, kHotSpot);
  painter.drawLine(kHotSpot + 3, kHotSpot, 2 * kHotSpot, kHotSpot);
  painter.save();
  tool.drawSign(painter, kSignBox);
  painter.restore();
}

}  // namespace

QCursor ToolCursorFor(const ToolInfo& tool) {
  QPixmap pixmap(kSize, kSize);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  // A white halo first, then the black shape over it.
  painter.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::SquareCap));
  DrawCursor(painter, tool);
  painter.setPen(QPen(Qt::black, 1, Qt::SolidLine, Qt::SquareCap));
  DrawCursor(painter, tool);
  painter.end();
  return QCursor(pixmap, kHotSpot, kHotSpot);
}

}  // namespace tollwen
