// The conveyor path: a drag lays conveyors along the cells it passes, each pointing to the
// next; the grid shows them while the drag goes on, the release makes them one step, Escape
// drops them.
#include <QPainter>
#include <memory>
#include <vector>

#include "editor/level_document.h"
#include "editor/tools/tool_list.h"
#include "level/conveyor_path.h"

namespace tollwen {

namespace {

// An arrow to the right.
void DrawSign(QPainter& painter, const QRect& box) {
  const int middle = box.center().y();
  painter.drawLine(box.left(), middle, box.right(), middle);
  painter.drawLine(box.right(), middle, box.right() - 4, middle - 4);
  painter.drawLine(box.right(), middle, box.right() - 4, middle + 4);
}

class ConveyorPathTool : public Tool {
 public:
  using Tool::Tool;

  ToolInfo Info() const override { return {"C&onveyor Path", 'T', DrawSign}; }

  void Press(const ToolEvent& event) override {
    passed_ = {event.cell};
    preview_.clear();
  }

  void Move(const ToolEvent& event) override {
    passed_.push_back(event.cell);
    preview_ = ConveyorPath(passed_);
  }

  void Release(const ToolEvent& event) override {
    if (passed_.empty()) return;
    if (passed_.back() != event.cell) passed_.push_back(event.cell);
    const CellChanges path = ConveyorPath(passed_);
    Cancel();
    context_.Document().Edit(QStringLiteral("Conveyor Path"), path);
  }

  void Cancel() override {
    passed_.clear();
    preview_.clear();
  }

 private:
  std::vector<CellPosition> passed_;
};

}  // namespace

std::unique_ptr<Tool> MakeConveyorPathTool(ToolContext& context) {
  return std::make_unique<ConveyorPathTool>(context);
}

}  // namespace tollwen
