#pragma once

#include <QString>

#include "editor/tools/tool.h"

namespace tollwen {

// A tool that lays a shape from the press cell to the cell under the pointer: the grid shows
// the shape while it is dragged, the release makes it one step, Escape drops it.
class DragShapeTool : public Tool {
 public:
  using Tool::Tool;

  void Press(const Gesture& gesture) override;
  void Move(const Gesture& gesture) override;
  void Release(const Gesture& gesture) override;
  void Cancel(const Gesture& gesture) override;

 protected:
  // The step's name in the history ("Line" gives "Undo Line").
  virtual QString StepName() const = 0;
  // The shape from `from` to `to`, with `modifiers` held.
  virtual CellChanges Shape(CellPosition from, CellPosition to,
                            Qt::KeyboardModifiers modifiers) const = 0;
};

}  // namespace tollwen
