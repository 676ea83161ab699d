#include "editor/tools/tool_box.h"

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

}  // namespace

ToolBox::ToolBox(LevelDocument& document, const TileCode& currentTile, QObject* parent)
    : QObject(parent),
      document_(document),
      currentTile_(currentTile),
      tools_(MakeTools(*this)),
      keyBrush_(MakeBrushTool(*this)) {}

ToolBox::~ToolBox() = default;

void ToolBox::Choose(int index) {
  if (index < 0 || index >= static_cast<int>(tools_.size())) return;
  if (gesture_ != nullptr) CancelGesture();
  active_ = index;
  emit toolChosen(index);
}

const CellChanges& ToolBox::Preview() const {
  return gesture_ != nullptr ? gesture_->Preview() : kNoPreview;
}

template <typename Event>
void ToolBox::Run(Event&& event) {
  const QRect before = BoundsOf(Preview());
  event();
  const QRect after = BoundsOf(Preview());
  if (!before.isNull() || !after.isNull()) emit previewChanged(before | after);
}

void ToolBox::BeginGesture(GestureSource source) {
  if (gesture_ != nullptr) CancelGesture();
  gesture_ = source == GestureSource::kPointer ? tools_[static_cast<std::size_t>(active_)].get()
                                               : keyBrush_.get();
  pressed_ = false;
  dropped_ = false;
}

bool ToolBox::AskCell(int column, int row, Qt::KeyboardModifiers modifiers) {
  if (!geometry::IsInnerCell(column, row)) return false;
  const ToolEvent event{CellPosition(column, row), modifiers};
  // The rest of a gesture that was cancelled (another tool chosen, the level closed) does
  // nothing until the grid finishes it.
  if (dropped_) return false;
  if (gesture_ == nullptr) {
    // A cell asked for outside any gesture is one of its own.
    BeginGesture(GestureSource::kKeys);
    Run([&] { gesture_->Press(event); });
    FinishGesture(modifiers);
    return true;
  }
  Run([&] {
    if (pressed_) {
      gesture_->Move(event);
    } else {
      gesture_->Press(event);
    }
  });
  pressed_ = true;
  last_ = event.cell;
  return true;
}

void ToolBox::FinishGesture(Qt::KeyboardModifiers modifiers) {
  dropped_ = false;
  Tool* tool = gesture_;
  if (tool == nullptr) return;
  if (pressed_) Run([&] { tool->Release({last_, modifiers}); });
  gesture_ = nullptr;
}

void ToolBox::CancelGesture() {
  Tool* tool = gesture_;
  if (tool == nullptr) return;
  Run([&] { tool->Cancel(); });
  gesture_ = nullptr;
  dropped_ = true;
}

void ToolBox::Select(const QRect& cells) {
  const QRect level(1, 1, LevelGrid::kColumns, LevelGrid::kRows);
  const QRect selection = cells.normalized() & level;
  if (selection == selection_) return;
  const QRect changed = selection_ | selection;
  selection_ = selection;
  emit selectionChanged(changed);
}

}  // namespace tollwen
