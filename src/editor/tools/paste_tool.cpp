// The paste: the clipboard's block follows the pointer (or the current cell) as a preview, with
// its top-left cell on the cell under it and the part beyond the level's edge cut off; a click
// or Return places it as one step and selects it. The tool box uses it once, then goes back to
// the chosen tool; Escape drops it.
#include <QPainter>
#include <algorithm>
#include <memory>
#include <string>
#include <utility>

#include "editor/level_document.h"
#include "editor/tools/tool_list.h"
#include "level/clipboard_text.h"

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
  PasteTool(ToolContext& context, std::vector<std::string> rows, CellPosition at)
      : Tool(context), rows_(std::move(rows)) {
    for (const std::string& row : rows_) {
      size_.setWidth(std::max(size_.width(), static_cast<int>(row.size())));
    }
    size_.setHeight(static_cast<int>(rows_.size()));
    Hover(at);
  }

  // Not in the tools' menu: Edit > Paste starts it.
  ToolInfo Info() const override { return {"&Paste", '\0', DrawSign}; }

  void Hover(CellPosition cell) override {
    preview_ = PastedCells(rows_, cell);
    block_ = QRect(cell, size_);
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
    context_.Document().Edit(QStringLiteral("Paste"), placed);
    // What landed is the selection, so that Delete, Cut or a move act on all of it.
    context_.Select(std::exchange(block_, {}));
  }

 private:
  std::vector<std::string> rows_;
  QSize size_{0, 0};
};

}  // namespace

std::unique_ptr<Tool> MakePasteTool(ToolContext& context, std::vector<std::string> rows,
                                    CellPosition at) {
  return std::make_unique<PasteTool>(context, std::move(rows), at);
}

}  // namespace tollwen
