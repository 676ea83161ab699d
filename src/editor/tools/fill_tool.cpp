#include "editor/tools/fill_tool.h"

#include <QPainter>
#include <QPainterPath>

#include "editor/level_document.h"
#include "level/fill_region.h"

namespace tollwen {

namespace {

void DrawSign(QPainter& painter, const QRect& box) {
  // A drop.
  QPainterPath drop;
  drop.moveTo(box.center().x(), box.top());
  drop.lineTo(box.right(), box.center().y() + 2);
  drop.arcTo(QRectF(box.left(), box.center().y() - 3, box.width(), 9), 0, -180);
  drop.closeSubpath();
  painter.drawPath(drop);
}

}  // namespace

ToolInfo FillTool::Info() const { return {"&Fill", 'G', DrawSign}; }

void FillTool::Press(const ToolEvent& event) {
  LevelDocument& document = context_.Document();
  document.Edit(QStringLiteral("Fill"),
                ChangesTo(FillRegion(document.Grid(), event.cell), context_.CurrentTile()));
}

}  // namespace tollwen
