#include "editor/tools/line_tool.h"

#include <QPainter>

#include "level/cell_shapes.h"

namespace tollwen {

namespace {

void DrawSign(QPainter& painter, const QRect& box) {
  painter.drawLine(box.bottomLeft(), box.topRight());
}

}  // namespace

ToolInfo LineTool::Info() const { return {"&Line", 'L', DrawSign}; }

CellChanges LineTool::Shape(CellPosition from, CellPosition to,
                            Qt::KeyboardModifiers /*modifiers*/) const {
  return ChangesTo(LineCells(from, to), context_.CurrentTile());
}

}  // namespace tollwen
