#pragma once

#include "editor/tools/tool.h"

namespace tollwen {

// Paints the current tile into every cell the gesture reaches, and into the cells on the
// straight path between two reached cells, so a fast drag leaves no gap. One gesture is one
// step of the history.
class BrushTool : public Tool {
 public:
  using Tool::Tool;

  ToolInfo Info() const override;
  void Press(const ToolEvent& event) override;
  void Move(const ToolEvent& event) override;
  void Release(const ToolEvent& event) override;
  void Cancel() override;

 private:
  void Paint(const std::vector<CellPosition>& cells);

  int stroke_ = 0;  // 0 between gestures
  CellPosition last_;
};

}  // namespace tollwen
