// The selection: a drag selects the rectangle of cells it spans, a click one cell; Escape
// during the drag selects nothing. A drag that starts inside the selection moves its cells
// instead (their old place empties), as one step; Escape during it leaves them where they were.
// The arrow keys and the wheel only move the current cell; with Shift the arrows extend the
// selection to it.
#include <QCoreApplication>
#include <QPainter>
#include <memory>
#include <utility>

#include "editor/level_document.h"
#include "editor/tools/tool_list.h"
#include "level/cell_block.h"

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

  ToolInfo Info() const override {
    return {QT_TRANSLATE_NOOP("tollwen::Tools", "&Select"), 'S', DrawSign};
  }

  void Press(const Gesture& gesture) override { Move(gesture); }

  void Move(const Gesture& gesture) override {
    if (!Moving(gesture)) {
      context_.Select(QRect(gesture.start, gesture.cell).normalized());
      return;
    }
    preview_ = Moved(gesture);
    block_ = gesture.startSelection.translated(gesture.cell - gesture.start);
  }

  void Release(const Gesture& gesture) override {
    if (!Moving(gesture)) return;
    preview_.clear();
    block_ = QRect();
    if (gesture.passed.size() == 1) {
      // A click inside the selection selects that cell, as a click anywhere does.
      context_.Select(QRect(gesture.start, gesture.start));
    } else if (gesture.cell != gesture.start) {
      context_.Document().Edit(QCoreApplication::translate("tollwen::Tools", "Move"),
                               Moved(gesture));
      context_.Select(gesture.startSelection.translated(gesture.cell - gesture.start));
    }
  }

  void Cancel(const Gesture& gesture) override {
    preview_.clear();
    block_ = QRect();
    if (!Moving(gesture)) context_.Select(QRect());
  }

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

 private:
  static bool Moving(const Gesture& gesture) {
    return gesture.startSelection.contains(gesture.start);
  }
  // The selected cells lifted and put down as far from where they were as the pointer went.
  CellChanges Moved(const Gesture& gesture) const {
    const QRect from = gesture.startSelection;
    return MovedCells(from, BlockOf(context_.Document().Grid(), from),
                      from.topLeft() + gesture.cell - gesture.start);
  }
};

}  // namespace

std::unique_ptr<Tool> MakeSelectTool(ToolContext& context) {
  return std::make_unique<SelectTool>(context);
}

}  // namespace tollwen
