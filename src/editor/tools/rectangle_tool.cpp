#include "editor/tools/rectangle_tool.h"

#include <QPainter>

#include "level/cell_shapes.h"

namespace tollwen {

namespace {

void DrawSign(QPainter& painter, const QRect& box) { painter.drawRect(box.adjusted(0, 2, 0, -2)); }

}  // namespace

ToolInfo RectangleTool::Info() const { return {"R&ectangle", 'R', DrawSign}; }

CellChanges RectangleTool::Shape(CellPosition from, CellPosition to,
                                 Qt::KeyboardModifiers modifiers) const {
  const bool outline = modifiers.testFlag(Qt::ShiftModifier);
  return ChangesTo(RectangleCells(from, to, outline), context_.CurrentTile());
}

}  // namespace tollwen
