// The selection: a drag selects the rectangle of cells it spans, a click one cell; Escape
// during the drag selects nothing. Changes no cell.
#include <QPainter>
#include <memory>

#include "editor/tools/tool_list.h"

namespace tollwen {

namespace {

void DrawSign(QPainter& painter, const QRect& box) {
  QPen dashed = painter.pen();
  dashed.setStyle(Qt::DashLine);
  painter.setPen(dashed);
  painter.drawRect(box);
}

class SelectTool : public Tool {
 public:
  using Tool::Tool;

  ToolInfo Info() const override { return {"&Select", 'S', DrawSign}; }

  void Press(const Gesture& gesture) override { Move(gesture); }

  void Move(const Gesture& gesture) override {
    context_.Select(QRect(gesture.start, gesture.cell).normalized());
  }

  void Cancel(const Gesture& /*gesture*/) override { context_.Select(QRect()); }
};

}  // namespace

std::unique_ptr<Tool> MakeSelectTool(ToolContext& context) {
  return std::make_unique<SelectTool>(context);
}

}  // namespace tollwen
