// The paste: the clipboard's block follows the pointer (or the current cell) as a preview, with
// its top-left cell on the cell under it and the part beyond the level's edge cut off; a click
// or Return places it as one step and selects it. The tool box uses it once, then goes back to
// the chosen tool; Escape drops it.
#include <QCoreApplication>
#include <QPainter>
#include <memory>
#include <string>
#include <utility>

#include "editor/level_document.h"
#include "editor/tools/tool_list.h"
#include "level/cell_block.h"

namespace tollwen {

namespace {

// A sheet with its top-left corner folded.
void DrawSign(QPainter& painter, const QRect& box) {
  const QRect sheet = box.adjusted(2, 0, -2, 0);
  painter.drawPolyline(QPolygon({sheet.topLeft() + QPoint(3, 0), sheet.topRight(),
                                 sheet.bottomRight(), sheet.bottomLeft(),
                                 sheet.topLeft() + QPoint(0, 3), sheet.topLeft() + QPoint(3, 0)}));
}

class PasteTool : public Tool {
 public:
  PasteTool(ToolContext& context, CellBlock block, CellPosition at)
      : Tool(context), cells_(std::move(block)) {
    Hover(at);
  }

  // Not in the tools' menu: Edit > Paste starts it.
  ToolInfo Info() const override {
    return {QT_TRANSLATE_NOOP("tollwen::Tools", "&Paste"), '\0', DrawSign};
  }

  void Hover(CellPosition cell) override {
    preview_ = PlacedCells(cells_, cell);
    block_ = QRect(cell, SizeOf(cells_));
  }
  bool Step(QPoint /*from*/, CellPosition to, Qt::KeyboardModifiers /*modifiers*/) override {
    Hover(to);
    return true;
  }
  void Press(const Gesture& gesture) override { Hover(gesture.cell); }
  void Move(const Gesture& gesture) override { Hover(gesture.cell); }

  void Release(const Gesture& gesture) override {
    Hover(gesture.cell);
    const CellChanges placed = std::exchange(preview_, {});
    context_.Document().Edit(QCoreApplication::translate("tollwen::Tools", "Paste"), placed);
    // What landed is the selection, so that Delete, Cut or a move act on all of it.
    context_.Select(std::exchange(block_, {}));
  }

 private:
  CellBlock cells_;  // the clipboard's codes
};

}  // namespace

std::unique_ptr<Tool> MakePasteTool(ToolContext& context, std::vector<std::string> rows,
                                    CellPosition at) {
  return std::make_unique<PasteTool>(context, std::move(rows), at);
}

}  // namespace tollwen
