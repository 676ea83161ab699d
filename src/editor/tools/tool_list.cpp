#include "editor/tools/tool_list.h"

namespace tollwen {

std::vector<std::unique_ptr<Tool>> MakeTools(ToolContext& context) {
  std::vector<std::unique_ptr<Tool>> tools;
  for (const auto make : {MakeBrushTool, MakeLineTool, MakeRectangleTool, MakeFillTool,
                          MakeSelectTool, MakeConveyorPathTool}) {
    tools.push_back(make(context));
  }
  return tools;
}

}  // namespace tollwen
