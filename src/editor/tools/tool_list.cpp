#include "editor/tools/tool_list.h"

#include <QCoreApplication>

namespace tollwen {

std::vector<std::unique_ptr<Tool>> MakeTools(ToolContext& context) {
  std::vector<std::unique_ptr<Tool>> tools;
  for (const auto make : {MakeBrushTool, MakeLineTool, MakeRectangleTool, MakeFillTool,
                          MakeSelectTool, MakeConveyorPathTool}) {
    tools.push_back(make(context));
  }
  return tools;
}

QString TranslatedName(const ToolInfo& info) {
  return QCoreApplication::translate("tollwen::Tools", info.name);
}

}  // namespace tollwen
