#pragma once

#include "editor/tools/tool.h"

namespace tollwen {

// A click gives the current tile to the clicked cell and every cell joined to it, side by
// side, that holds the same code.
class FillTool : public Tool {
 public:
  using Tool::Tool;

  ToolInfo Info() const override;
  void Press(const ToolEvent& event) override;
};

}  // namespace tollwen
