// The conveyor path: a drag lays conveyors along the cells it passes, each pointing to the
// next; the grid shows them while the drag goes on, the release makes them one step, Escape
// drops them.
#include <QCoreApplication>
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

  ToolInfo Info() const override {
    return {QT_TRANSLATE_NOOP("tollwen::Tools", "C&onveyor Path"), 'T', DrawSign};
  }

  void Press(const Gesture& gesture) override { preview_ = ConveyorPath(gesture.passed); }

  void Move(const Gesture& gesture) override { Press(gesture); }

  void Release(const Gesture& gesture) override {
    preview_.clear();
    context_.Document().Edit(QCoreApplication::translate("tollwen::Tools", "Conveyor Path"),
                             ConveyorPath(gesture.passed));
  }

  void Cancel(const Gesture& /*gesture*/) override { preview_.clear(); }
};

}  // namespace

std::unique_ptr<Tool> MakeConveyorPathTool(ToolContext& context) {
  return std::make_unique<ConveyorPathTool>(context);
}

}  // namespace tollwen
