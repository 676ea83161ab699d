#pragma once

#include <optional>

#include "editor/tools/tool.h"

namespace tollwen {

// A drag selects the rectangle of cells it spans, a click one cell; Escape during the drag
// selects nothing. Changes no cell.
class SelectTool : public Tool {
 public:
  using Tool::Tool;

  ToolInfo Info() const override;
  void Press(const ToolEvent& event) override;
  void Move(const ToolEvent& event) override;
  void Release(const ToolEvent& event) override;
  void Cancel() override;

 private:
  std::optional<CellPosition> anchor_;
};

}  // namespace tollwen
