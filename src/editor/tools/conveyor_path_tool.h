#pragma once

#include <vector>

#include "editor/tools/tool.h"

namespace tollwen {

// A drag lays conveyors along the cells it passes, each pointing to the next; the grid shows
// them while the drag goes on, the release makes them one step, Escape drops them.
class ConveyorPathTool : public Tool {
 public:
  using Tool::Tool;

  ToolInfo Info() const override;
  void Press(const ToolEvent& event) override;
  void Move(const ToolEvent& event) override;
  void Release(const ToolEvent& event) override;
  void Cancel() override;

 private:
  std::vector<CellPosition> passed_;
};

}  // namespace tollwen
