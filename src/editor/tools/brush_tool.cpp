// The brush: paints the current tile into every level cell the pointer crosses, also between two
// positions far apart, so a fast drag leaves no gap; a stretch outside the level paints nothing.
// One gesture is one step of the history. The keys and the wheel paint with it.
#include <QCoreApplication>
#include <QPainter>
#include <memory>
#include <vector>

#include "editor/level_document.h"
#include "editor/tools/tool_list.h"
#include "level/cell_shapes.h"
#include "level/grid_geometry.h"

namespace tollwen {

namespace {

void DrawSign(QPainter& painter, const QRect& box) {
  painter.drawEllipse(box.adjusted(2, 2, -2, -2));
  painter.fillRect(box.adjusted(4, 4, -4, -4), painter.pen().color());
}

class BrushTool : public Tool {
 public:
  using Tool::Tool;

  ToolInfo Info() const override {
    return {QT_TRANSLATE_NOOP("tollwen::Tools", "&Brush"), 'P', DrawSign};
  }

  void Press(const Gesture& gesture) override { Move(gesture); }

  // What has been painted stays; the gesture's edits make one step.
  void Move(const Gesture& gesture) override {
    std::vector<CellPosition> cells = SegmentCells(gesture.from, gesture.to);
    std::erase_if(cells,
                  [](CellPosition cell) { return !geometry::IsInnerCell(cell.x(), cell.y()); });
    context_.Document().Edit(QCoreApplication::translate("tollwen::Tools", "Paint"),
                             ChangesTo(cells, context_.CurrentTile()), gesture.strokeKey);
  }
};

}  // namespace

std::unique_ptr<Tool> MakeBrushTool(ToolContext& context) {
  return std::make_unique<BrushTool>(context);
}

}  // namespace tollwen
