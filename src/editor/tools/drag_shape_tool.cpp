#include "editor/tools/drag_shape_tool.h"

#include "editor/level_document.h"

namespace tollwen {

void DragShapeTool::Press(const Gesture& gesture) {
  preview_ = Shape(gesture.start, gesture.cell, gesture.modifiers);
}

void DragShapeTool::Move(const Gesture& gesture) { Press(gesture); }

void DragShapeTool::Release(const Gesture& gesture) {
  preview_.clear();
  context_.Document().Edit(StepName(), Shape(gesture.start, gesture.cell, gesture.modifiers));
}

void DragShapeTool::Cancel(const Gesture& /*gesture*/) { preview_.clear(); }

}  // namespace tollwen
