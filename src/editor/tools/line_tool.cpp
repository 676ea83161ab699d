// The line: the current tile along the straight line from the press cell to the release cell.
#include <QCoreApplication>
#include <QPainter>
#include <memory>

#include "editor/tools/drag_shape_tool.h"
#include "editor/tools/tool_list.h"
#include "level/cell_shapes.h"

namespace tollwen {

namespace {

void DrawSign(QPainter& painter, const QRect& box) {
  painter.drawLine(box.bottomLeft(), box.topRight());
}

class LineTool : public DragShapeTool {
 public:
  using DragShapeTool::DragShapeTool;

  ToolInfo Info() const override {
    return {QT_TRANSLATE_NOOP("tollwen::Tools", "&Line"), 'L', DrawSign};
  }

 protected:
  QString StepName() const override {
    return QCoreApplication::translate("tollwen::Tools", "Line");
  }
  CellChanges Shape(CellPosition from, CellPosition to,
                    Qt::KeyboardModifiers /*modifiers*/) const override {
    return ChangesTo(LineCells(from, to), context_.CurrentTile());
  }
};

}  // namespace

std::unique_ptr<Tool> MakeLineTool(ToolContext& context) {
  return std::make_unique<LineTool>(context);
}

}  // namespace tollwen
