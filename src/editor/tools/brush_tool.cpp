// The brush: paints the current tile into every cell the gesture reaches, and into the cells on
// the straight path between two reached cells, so a fast drag leaves no gap. One gesture is one
// step of the history. The keys and the wheel paint with it whatever tool is chosen.
#include <QPainter>
#include <memory>

#include "editor/level_document.h"
#include "editor/tools/tool_list.h"
#include "level/cell_shapes.h"

namespace tollwen {

namespace {

void DrawSign(QPainter& painter, const QRect& box) {
  painter.drawEllipse(box.adjusted(2, 2, -2, -2));
  painter.fillRect(box.adjusted(4, 4, -4, -4), painter.pen().color());
}

class BrushTool : public Tool {
 public:
  using Tool::Tool;

  ToolInfo Info() const override { return {"&Brush", 'P', DrawSign}; }

  void Press(const Gesture& gesture) override { Paint(gesture, {gesture.cell}); }

  void Move(const Gesture& gesture) override {
    Paint(gesture, LineCells(gesture.passed[gesture.passed.size() - 2], gesture.cell));
  }

 private:
  // What has been painted stays; the gesture's edits make one step.
  void Paint(const Gesture& gesture, const std::vector<CellPosition>& cells) {
    context_.Document().Edit(QStringLiteral("Paint"), ChangesTo(cells, context_.CurrentTile()),
                             gesture.strokeKey);
  }
};

}  // namespace

std::unique_ptr<Tool> MakeBrushTool(ToolContext& context) {
  return std::make_unique<BrushTool>(context);
}

}  // namespace tollwen
