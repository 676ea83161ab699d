#include "editor/tools/tool_box.h"

#include <algorithm>
#include <utility>

#include "editor/level_document.h"
#include "editor/tools/tool_list.h"
#include "level/grid_geometry.h"

namespace tollwen {

namespace {

const CellChanges kNoPreview;

// The cells (column and row numbers) a preview covers.
QRect BoundsOf(const CellChanges& changes) {
  QRect bounds;
  for (const CellChange& change : changes) bounds |= QRect(change.cell, QSize(1, 1));
  return bounds;
}

// The middle of a cell, in level cells.
QPointF MiddleOf(QPoint cell) { return QPointF(cell) + QPointF(0.5, 0.5); }

}  // namespace

ToolBox::ToolBox(LevelDocument& document, const TileCode& currentTile, QObject* parent)
    : QObject(parent),
      document_(document),
      currentTile_(currentTile),
      tools_(MakeTools(*this)),
      keyBrush_(MakeBrushTool(*this)) {
  // A paste belongs to the level it was started on.
  connect(&document, &LevelDocument::displayChanged, this, &ToolBox::DropPaste);
}

ToolBox::~ToolBox() = default;

void ToolBox::Choose(int index) {
  if (index < 0 || index >= static_cast<int>(tools_.size())) return;
  CancelGesture();
  active_ = index;
  emit toolChanged();
}

const CellChanges& ToolBox::Preview() const { return Shown() ? Shown()->Preview() : kNoPreview; }

QRect ToolBox::Block() const { return Shown() ? Shown()->Block() : QRect(); }

template <typename Event>
void ToolBox::Run(Event&& event) {
  const QRect before = BoundsOf(Preview()) | Block();
  event();
  const QRect after = BoundsOf(Preview()) | Block();
  if (!before.isNull() || !after.isNull()) emit previewChanged(before | after);
}

void ToolBox::StartPaste(std::vector<std::string> rows, QPoint currentCell) {
  CancelGesture();
  const QPoint at = hovered_.value_or(QPoint(std::clamp(currentCell.x(), 1, LevelGrid::kColumns),
                                             std::clamp(currentCell.y(), 1, LevelGrid::kRows)));
  Run([&] { paste_ = MakePasteTool(*this, std::move(rows), at); });
  emit toolChanged();
}

void ToolBox::DropPaste() {
  if (!paste_) return;
  Run([&] { paste_.reset(); });
  emit toolChanged();
}

void ToolBox::Confirm(QPoint cell) {
  if (!paste_ || underWay_) return;
  // A click on the cell, from the keyboard.
  const QPoint at(std::clamp(cell.x(), 1, LevelGrid::kColumns),
                  std::clamp(cell.y(), 1, LevelGrid::kRows));
  Begin(*paste_, true, Qt::NoModifier);
  Reach(at, MiddleOf(at), MiddleOf(at), Qt::NoModifier);
  End(Qt::NoModifier);
}

void ToolBox::Hover(QPoint cell) {
  hovered_.reset();
  if (geometry::IsInnerCell(cell.x(), cell.y())) hovered_ = cell;
  if (hovered_ && !underWay_) Run([&] { CurrentTool().Hover(cell); });
}

void ToolBox::Begin(Tool& tool, bool byKeys, Qt::KeyboardModifiers modifiers) {
  End(modifiers);
  Gesture gesture;
  gesture.startSelection = selection_;
  gesture.modifiers = modifiers;
  gesture.strokeKey = document_.NewStrokeKey();
  underWay_ = UnderWay{std::move(gesture), &tool, byKeys, QPointF()};
}

bool ToolBox::Reach(QPoint cell, QPointF from, QPointF to, Qt::KeyboardModifiers modifiers) {
  Gesture& gesture = underWay_->gesture;
  gesture.from = from;
  gesture.to = to;
  gesture.modifiers = modifiers;
  if (!geometry::IsInnerCell(cell.x(), cell.y())) return false;
  Tool& tool = *underWay_->tool;
  if (!underWay_->Reached()) {
    gesture.start = gesture.cell = cell;
    gesture.passed = {cell};
    Run([&] { tool.Press(gesture); });
  } else if (cell != gesture.cell) {
    gesture.cell = cell;
    gesture.passed.push_back(cell);
    Run([&] { tool.Move(gesture); });
  }
  return true;
}

bool ToolBox::Press(QPoint cell, QPointF point, Qt::KeyboardModifiers modifiers) {
  dropped_ = false;
  Begin(CurrentTool(), false, modifiers);
  underWay_->pointer = point;
  return Reach(cell, point, point, modifiers);
}

bool ToolBox::Drag(QPoint cell, QPointF point, Qt::KeyboardModifiers modifiers) {
  if (!underWay_ || underWay_->byKeys) return false;
  const QPointF from = std::exchange(underWay_->pointer, point);
  return Reach(cell, from, point, modifiers);
}

bool ToolBox::Step(QPoint from, QPoint cell, Qt::KeyboardModifiers modifiers, bool repeat) {
  // The rest of a dropped drag does nothing until the button is released.
  if (dropped_) return false;
  const bool inDrag = underWay_ && !underWay_->byKeys;
  if (!inDrag && geometry::IsInnerCell(cell.x(), cell.y())) {
    bool taken = false;
    Run([&] { taken = CurrentTool().Step(from, cell, modifiers); });
    if (taken) return true;
  }
  if (!inDrag && (!underWay_ || !repeat)) Begin(*keyBrush_, true, modifiers);
  return Reach(cell, MiddleOf(cell), MiddleOf(cell), modifiers);
}

void ToolBox::End(Qt::KeyboardModifiers modifiers) {
  dropped_ = false;
  if (!underWay_) return;
  const bool placed = underWay_->Reached() && underWay_->tool == paste_.get();
  // The preview goes with the gesture.
  Run([&] {
    UnderWay ending = std::move(*underWay_);
    underWay_.reset();
    ending.gesture.modifiers = modifiers;
    if (ending.Reached()) ending.tool->Release(ending.gesture);
  });
  // A paste is placed once.
  if (placed) DropPaste();
}

void ToolBox::Escape() {
  if ((underWay_ && !underWay_->byKeys) || paste_) return CancelGesture();
  if (underWay_) End(Qt::NoModifier);
  Select(QRect());
}

void ToolBox::CancelGesture() {
  if (underWay_) {
    Run([&] {
      UnderWay cancelled = std::move(*underWay_);
      underWay_.reset();
      if (cancelled.Reached()) cancelled.tool->Cancel(cancelled.gesture);
    });
    dropped_ = true;
  }
  DropPaste();
}

void ToolBox::Select(const QRect& cells) {
  const QRect level(1, 1, LevelGrid::kColumns, LevelGrid::kRows);
  // No level shown, nothing selected: the edit commands act on the selection.
  const QRect selection = document_.Editable() ? cells.normalized() & level : QRect();
  if (selection == selection_) return;
  const QRect changed = selection_ | selection;
  selection_ = selection;
  emit selectionChanged(changed);
}

}  // namespace tollwen
