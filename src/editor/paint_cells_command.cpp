#include "editor/paint_cells_command.h"

#include <algorithm>

#include "editor/editor.h"

namespace tollwen {

PaintCellsCommand::PaintCellsCommand(Editor& editor, int stroke, CellEdit edit)
    : editor_(editor), stroke_(stroke), edits_{edit} {
  setText(QStringLiteral("Paint"));
}

bool PaintCellsCommand::mergeWith(const QUndoCommand* other) {
  const auto* paint = static_cast<const PaintCellsCommand*>(other);
  if (paint->stroke_ != stroke_) return false;
  for (const CellEdit& edit : paint->edits_) {
    auto same = std::find_if(edits_.begin(), edits_.end(), [&edit](const CellEdit& mine) {
      return mine.column == edit.column && mine.row == edit.row;
    });
    // A cell painted twice in one stroke keeps the code it held before the stroke.
    if (same != edits_.end()) {
      same->after = edit.after;
    } else {
      edits_.push_back(edit);
    }
  }
  return true;
}

void PaintCellsCommand::undo() {
  std::vector<CellEdit> reversed(edits_.rbegin(), edits_.rend());
  for (CellEdit& edit : reversed) std::swap(edit.before, edit.after);
  editor_.ApplyCellEdits(reversed);
}

void PaintCellsCommand::redo() { editor_.ApplyCellEdits(edits_); }

}  // namespace tollwen
