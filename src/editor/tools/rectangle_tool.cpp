// The rectangle: the current tile in the rectangle spanned by the press and release cells,
// filled, or its outline only while Shift is held.
#include <QCoreApplication>
#include <QPainter>
#include <memory>

#include "editor/tools/drag_shape_tool.h"
#include "editor/tools/tool_list.h"
#include "level/cell_shapes.h"

namespace tollwen {

namespace {

void DrawSign(QPainter& painter, const QRect& box) { painter.drawRect(box.adjusted(0, 2, 0, -2)); }

class RectangleTool : public DragShapeTool {
 public:
  using DragShapeTool::DragShapeTool;

  ToolInfo Info() const override {
    return {QT_TRANSLATE_NOOP("tollwen::Tools", "R&ectangle"), 'R', DrawSign};
  }

 protected:
  QString StepName() const override {
    return QCoreApplication::translate("tollwen::Tools", "Rectangle");
  }
  CellChanges Shape(CellPosition from, CellPosition to,
                    Qt::KeyboardModifiers modifiers) const override {
    const bool outline = modifiers.testFlag(Qt::ShiftModifier);
    return ChangesTo(RectangleCells(from, to, outline), context_.CurrentTile());
  }
};

}  // namespace

std::unique_ptr<Tool> MakeRectangleTool(ToolContext& context) {
  return std::make_unique<RectangleTool>(context);
}

}  // namespace tollwen
