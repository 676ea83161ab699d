#include "ui/tool_cursors.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace tollwen {

namespace {

constexpr int kSize = 32;
constexpr int kHotSpot = 10;

// The tool's sign in the 12 x 12 square at (17, 17).
void DrawSign(QPainter& painter, ToolCursor cursor) {
  const QRect box(17, 17, 12, 12);
  switch (cursor) {
    case ToolCursor::kBrush:
      painter.drawEllipse(box.adjusted(2, 2, -2, -2));
      painter.fillRect(box.adjusted(4, 4, -4, -4), painter.pen().color());
      break;
    case ToolCursor::kLine:
      painter.drawLine(box.bottomLeft(), box.topRight());
      break;
    case ToolCursor::kRectangle:
      painter.drawRect(box.adjusted(0, 2, 0, -2));
      break;
    case ToolCursor::kFill: {
      QPainterPath drop;
      drop.moveTo(box.center().x(), box.top());
      drop.lineTo(box.right(), box.center().y() + 2);
      drop.arcTo(QRectF(box.left(), box.center().y() - 3, box.width(), 9), 0, -180);
      drop.closeSubpath();
      painter.drawPath(drop);
      break;
    }
    case ToolCursor::kSelect: {
      QPen dashed = painter.pen();
      dashed.setStyle(Qt::DashLine);
      painter.setPen(dashed);
      painter.drawRect(box);
      break;
    }
    case ToolCursor::kConveyorPath:
      painter.drawLine(box.left(), box.center().y(), box.right(), box.center().y());
      painter.drawLine(box.right(), box.center().y(), box.right() - 4, box.center().y() - 4);
      painter.drawLine(box.right(), box.center().y(), box.right() - 4, box.center().y() + 4);
      break;
  }
}

void DrawCursor(QPainter& painter, ToolCursor cursor) {
  painter.drawLine(kHotSpot, 0, kHotSpot, kHotSpot - 3);
  painter.drawLine(kHotSpot, kHotSpot + 3, kHotSpot, 2 * kHotSpot);
  painter.drawLine(0, kHotSpot, kHotSpot - 3, kHotSpot);
  painter.drawLine(kHotSpot + 3, kHotSpot, 2 * kHotSpot, kHotSpot);
  DrawSign(painter, cursor);
}

}  // namespace

QCursor ToolCursorFor(ToolCursor cursor) {
  QPixmap pixmap(kSize, kSize);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  // A white halo first, then the black shape over it.
  painter.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::SquareCap));
  DrawCursor(painter, cursor);
  painter.setPen(QPen(Qt::black, 1, Qt::SolidLine, Qt::SquareCap));
  DrawCursor(painter, cursor);
  painter.end();
  return QCursor(pixmap, kHotSpot, kHotSpot);
}

}  // namespace tollwen
