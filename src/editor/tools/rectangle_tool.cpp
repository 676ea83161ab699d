#include "editor/tools/rectangle_tool.h"

#include "level/cell_shapes.h"

namespace tollwen {

CellChanges RectangleTool::Shape(CellPosition from, CellPosition to,
                                 Qt::KeyboardModifiers modifiers) const {
  const bool outline = modifiers.testFlag(Qt::ShiftModifier);
  return ChangesTo(RectangleCells(from, to, outline), context_.CurrentTile());
}

}  // namespace tollwen
