#pragma once

#include <QUndoCommand>
#include <vector>

#include "level/tile_code.h"

namespace tollwen {

class Editor;

// One cell's change: the code it held before and the code it holds after.
struct CellEdit {
  int column;
  int row;
  TileCode before;
  TileCode after;
};

// Paints cells of the level grid. All cells painted during one stroke merge into one command,
// so a drag undoes in one step; undo puts back exactly the codes the cells held before.
class PaintCellsCommand : public QUndoCommand {
 public:
  static constexpr int kId = 1;

  PaintCellsCommand(Editor& editor, int stroke, CellEdit edit);

  int id() const override { return kId; }
  // Takes over another paint of the same stroke.
  bool mergeWith(const QUndoCommand* other) override;
  void undo() override;
  void redo() override;

 private:
  Editor& editor_;
  int stroke_;
  std::vector<CellEdit> edits_;
};

}  // namespace tollwen
