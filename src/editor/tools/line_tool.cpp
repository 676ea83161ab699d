#include "editor/tools/line_tool.h"

#include "level/cell_shapes.h"

namespace tollwen {

CellChanges LineTool::Shape(CellPosition from, CellPosition to,
                            Qt::KeyboardModifiers /*modifiers*/) const {
  return ChangesTo(LineCells(from, to), context_.CurrentTile());
}

}  // namespace tollwen
