#pragma once

#include <QUndoCommand>

#include "level/cell_change.h"

namespace tollwen {

class LevelDocument;

// Gives cells new codes; undo puts back exactly the codes they held, also characters that are
// not tile codes. Every tool edits through it. Commands of one brush stroke (the same non-zero
// stroke key) merge into one step.
class EditCellsCommand : public QUndoCommand {
 public:
  // `before` holds the codes the cells of `after` hold now, in the same order.
  EditCellsCommand(LevelDocument& document, const QString& name, CellChanges before,
                   CellChanges after, int strokeKey);

  int id() const override;
  bool mergeWith(const QUndoCommand* other) override;
  void undo() override;
  void redo() override;

  int StrokeKey() const { return strokeKey_; }

 private:
  LevelDocument& document_;
  CellChanges before_;
  CellChanges after_;
  int strokeKey_;
};

}  // namespace tollwen
