#include "editor/tools/drag_shape_tool.h"

#include "editor/level_document.h"

namespace tollwen {

void DragShapeTool::Press(const ToolEvent& event) {
  start_ = event.cell;
  preview_ = Shape(event.cell, event.cell, event.modifiers);
}

void DragShapeTool::Move(const ToolEvent& event) {
  if (!start_) return Press(event);
  preview_ = Shape(*start_, event.cell, event.modifiers);
}

void DragShapeTool::Release(const ToolEvent& event) {
  if (!start_) return;
  const CellChanges shape = Shape(*start_, event.cell, event.modifiers);
  Cancel();
  context_.Document().Edit(StepName(), shape);
}

void DragShapeTool::Cancel() {
  start_.reset();
  preview_.clear();
}

}  // namespace tollwen
