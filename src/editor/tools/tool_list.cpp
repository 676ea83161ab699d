#include "editor/tools/tool_list.h"

#include "editor/tools/brush_tool.h"
#include "editor/tools/conveyor_path_tool.h"
#include "editor/tools/fill_tool.h"
#include "editor/tools/line_tool.h"
#include "editor/tools/rectangle_tool.h"
#include "editor/tools/select_tool.h"

namespace tollwen {

namespace {

template <typename... Tools>
std::vector<std::unique_ptr<Tool>> Make(ToolContext& context) {
  std::vector<std::unique_ptr<Tool>> tools;
  (tools.push_back(std::make_unique<Tools>(context)), ...);
  return tools;
}

}  // namespace

std::vector<std::unique_ptr<Tool>> MakeTools(ToolContext& context) {
  return Make<BrushTool, LineTool, RectangleTool, FillTool, SelectTool, ConveyorPathTool>(context);
}

}  // namespace tollwen
