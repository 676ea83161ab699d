// The fill: a click gives the current tile to the clicked cell and every cell joined to it, side
// by side, that holds the same code.
#include <QCoreApplication>
#include <QPainter>
#include <QPainterPath>
#include <memory>

#include "editor/level_document.h"
#include "editor/tools/tool_list.h"
#include "level/fill_region.h"

namespace tollwen {

namespace {

// A drop.
void DrawSign(QPainter& painter, const QRect& box) {
  QPainterPath drop;
  drop.moveTo(box.center().x(), box.top());
  drop.lineTo(box.right(), box.center().y() + 2);
  drop.arcTo(QRectF(box.left(), box.center().y() - 3, box.width(), 9), 0, -180);
  drop.closeSubpath();
  painter.drawPath(drop);
}

class FillTool : public Tool {
 public:
  using Tool::Tool;

  ToolInfo Info() const override {
    return {QT_TRANSLATE_NOOP("tollwen::Tools", "&Fill"), 'G', DrawSign};
  }

  void Press(const Gesture& gesture) override {
    LevelDocument& document = context_.Document();
    document.Edit(QCoreApplication::translate("tollwen::Tools", "Fill"),
                  ChangesTo(FillRegion(document.Grid(), gesture.start), context_.CurrentTile()));
  }
};

}  // namespace

std::unique_ptr<Tool> MakeFillTool(ToolContext& context) {
  return std::make_unique<FillTool>(context);
}

}  // namespace tollwen
