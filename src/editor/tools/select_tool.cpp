// The selection: a drag selects the rectangle of cells it spans, a click one cell; Escape
// during the drag selects nothing. The arrow keys and the wheel only move the current cell;
// with Shift the arrows extend the selection to it. Changes no cell.
#include <QPainter>
#include <memory>
#include <utility>

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

  bool Step(QPoint from, CellPosition to, Qt::KeyboardModifiers modifiers) override {
    if (modifiers.testFlag(Qt::ShiftModifier)) {
      // From the corner across from the current cell, or from the current cell itself.
      const QRect selection = context_.Selection();
      QPoint anchor = from;
      const std::pair<QPoint, QPoint> corners[] = {
          {selection.topLeft(), selection.bottomRight()},
          {selection.bottomRight(), selection.topLeft()},
          {selection.topRight(), selection.bottomLeft()},
          {selection.bottomLeft(), selection.topRight()},
      };
      for (const auto& [corner, across] : corners) {
        if (!selection.isEmpty() && corner == from) anchor = across;
      }
      context_.Select(QRect(anchor, to).normalized());
    }
    return true;
  }
};

}  // namespace

std::unique_ptr<Tool> MakeSelectTool(ToolContext& context) {
  return std::make_unique<SelectTool>(context);
}

}  // namespace tollwen
