#include "editor/edit_cells_command.h"

#include <algorithm>
#include <utility>

#include "editor/level_document.h"

namespace tollwen {

namespace {

constexpr int kStrokeId = 1;

}  // namespace

EditCellsCommand::EditCellsCommand(LevelDocument& document, const QString& name, CellChanges before,
                                   CellChanges after, int strokeKey)
    : document_(document),
      before_(std::move(before)),
      after_(std::move(after)),
      strokeKey_(strokeKey) {
  setText(name);
}

int EditCellsCommand::id() const { return strokeKey_ != 0 ? kStrokeId : -1; }

bool EditCellsCommand::mergeWith(const QUndoCommand* other) {
  const auto* edit = static_cast<const EditCellsCommand*>(other);
  if (edit->strokeKey_ != strokeKey_) return false;
  for (std::size_t i = 0; i < edit->after_.size(); ++i) {
    const CellChange& change = edit->after_[i];
    auto same = std::find_if(after_.begin(), after_.end(), [&change](const CellChange& mine) {
      return mine.cell == change.cell;
    });
    // A cell painted twice in one stroke keeps the code it held before the stroke.
    if (same != after_.end()) {
      same->code = change.code;
    } else {
      before_.push_back(edit->before_[i]);
      after_.push_back(change);
    }
  }
  return true;
}

void EditCellsCommand::undo() {
  document_.WriteCells(CellChanges(before_.rbegin(), before_.rend()));
}

void EditCellsCommand::redo() { document_.WriteCells(after_); }

}  // namespace tollwen
