#include "editor/tools/conveyor_path_tool.h"

#include <QPainter>

#include "editor/level_document.h"
#include "level/conveyor_path.h"

namespace tollwen {

namespace {

void DrawSign(QPainter& painter, const QRect& box) {
  // An arrow to the right.
  const int middle = box.center().y();
  painter.drawLine(box.left(), middle, box.right(), middle);
  painter.drawLine(box.right(), middle, box.right() - 4, middle - 4);
  painter.drawLine(box.right(), middle, box.right() - 4, middle + 4);
}

}  // namespace

ToolInfo ConveyorPathTool::Info() const { return {"C&onveyor Path", 'T', DrawSign}; }

void ConveyorPathTool::Press(const ToolEvent& event) {
  passed_ = {event.cell};
  preview_.clear();
}

void ConveyorPathTool::Move(const ToolEvent& event) {
  passed_.push_back(event.cell);
  preview_ = ConveyorPath(passed_);
}

void ConveyorPathTool::Release(const ToolEvent& event) {
  if (passed_.empty()) return;
  if (passed_.back() != event.cell) passed_.push_back(event.cell);
  const CellChanges path = ConveyorPath(passed_);
  Cancel();
  context_.Document().Edit(QStringLiteral("Conveyor Path"), path);
}

void ConveyorPathTool::Cancel() {
  passed_.clear();
  preview_.clear();
}

}  // namespace tollwen
