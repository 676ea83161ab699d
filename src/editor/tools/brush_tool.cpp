#include "editor/tools/brush_tool.h"

#include <QPainter>

#include "editor/level_document.h"
#include "level/cell_shapes.h"

namespace tollwen {

namespace {

void DrawSign(QPainter& painter, const QRect& box) {
  painter.drawEllipse(box.adjusted(2, 2, -2, -2));
  painter.fillRect(box.adjusted(4, 4, -4, -4), painter.pen().color());
}

}  // namespace

ToolInfo BrushTool::Info() const { return {"&Brush", 'P', DrawSign}; }

void BrushTool::Press(const ToolEvent& event) {
  stroke_ = context_.Document().NewStrokeKey();
  last_ = event.cell;
  Paint({event.cell});
}

void BrushTool::Move(const ToolEvent& event) {
  if (stroke_ == 0) return Press(event);
  Paint(LineCells(last_, event.cell));
  last_ = event.cell;
}

void BrushTool::Release(const ToolEvent& /*event*/) { stroke_ = 0; }

// What has been painted stays: the stroke simply ends.
void BrushTool::Cancel() { stroke_ = 0; }

void BrushTool::Paint(const std::vector<CellPosition>& cells) {
  context_.Document().Edit(QStringLiteral("Paint"), ChangesTo(cells, context_.CurrentTile()),
                           stroke_);
}

}  // namespace tollwen
