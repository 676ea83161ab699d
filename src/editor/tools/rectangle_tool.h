#pragma once

#include "editor/tools/drag_shape_tool.h"

namespace tollwen {

// The current tile in the rectangle spanned by the press and release cells: filled, or its
// outline only while Shift is held.
class RectangleTool : public DragShapeTool {
 public:
  using DragShapeTool::DragShapeTool;

  ToolInfo Info() const override;

 protected:
  QString StepName() const override { return QStringLiteral("Rectangle"); }
  CellChanges Shape(CellPosition from, CellPosition to,
                    Qt::KeyboardModifiers modifiers) const override;
};

}  // namespace tollwen
