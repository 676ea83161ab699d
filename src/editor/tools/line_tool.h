#pragma once

#include "editor/tools/drag_shape_tool.h"

namespace tollwen {

// The current tile along the straight line from the press cell to the release cell.
class LineTool : public DragShapeTool {
 public:
  using DragShapeTool::DragShapeTool;

  ToolInfo Info() const override;

 protected:
  QString StepName() const override { return QStringLiteral("Line"); }
  CellChanges Shape(CellPosition from, CellPosition to,
                    Qt::KeyboardModifiers modifiers) const override;
};

}  // namespace tollwen
