#include "editor/tools/select_tool.h"

#include <QPainter>

namespace tollwen {

namespace {

void DrawSign(QPainter& painter, const QRect& box) {
  QPen dashed = painter.pen();
  dashed.setStyle(Qt::DashLine);
  painter.setPen(dashed);
  painter.drawRect(box);
}

}  // namespace

ToolInfo SelectTool::Info() const { return {"&Select", 'S', DrawSign}; }

void SelectTool::Press(const ToolEvent& event) {
  anchor_ = event.cell;
  context_.Select(QRect(event.cell, event.cell));
}

void SelectTool::Move(const ToolEvent& event) {
  if (!anchor_) return Press(event);
  context_.Select(QRect(*anchor_, event.cell).normalized());
}

void SelectTool::Release(const ToolEvent& event) {
  if (anchor_) Move(event);
  anchor_.reset();
}

void SelectTool::Cancel() {
  anchor_.reset();
  context_.Select(QRect());
}

}  // namespace tollwen
