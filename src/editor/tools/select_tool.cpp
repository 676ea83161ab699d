// The selection: a drag selects the rectangle of cells it spans, a click one cell; Escape
// during the drag selects nothing. Changes no cell.
#include <QPainter>
#include <memory>
#include <optional>

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

  void Press(const ToolEvent& event) override {
    anchor_ = event.cell;
    context_.Select(QRect(event.cell, event.cell));
  }

  void Move(const ToolEvent& event) override {
    if (!anchor_) return Press(event);
    context_.Select(QRect(*anchor_, event.cell).normalized());
  }

  void Release(const ToolEvent& event) override {
    if (anchor_) Move(event);
    anchor_.reset();
  }

  void Cancel() override {
    anchor_.reset();
    context_.Select(QRect());
  }

 private:
  std::optional<CellPosition> anchor_;
};

}  // namespace

std::unique_ptr<Tool> MakeSelectTool(ToolContext& context) {
  return std::make_unique<SelectTool>(context);
}

}  // namespace tollwen
