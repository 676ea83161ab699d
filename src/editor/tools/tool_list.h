#pragma once

#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "editor/tools/tool.h"

namespace tollwen {

// Each tool lives in a file of its own and is made here.
std::unique_ptr<Tool> MakeBrushTool(ToolContext& context);
std::unique_ptr<Tool> MakeLineTool(ToolContext& context);
std::unique_ptr<Tool> MakeRectangleTool(ToolContext& context);
std::unique_ptr<Tool> MakeFillTool(ToolContext& context);
std::unique_ptr<Tool> MakeSelectTool(ToolContext& context);
std::unique_ptr<Tool> MakeConveyorPathTool(ToolContext& context);
// The paste of `rows` (a block of codes, row by row), shown first with its top-left cell at
// `at`.
std::unique_ptr<Tool> MakePasteTool(ToolContext& context, std::vector<std::string> rows,
                                    CellPosition at);

// Every editing tool, in the order the Edit menu lists them; the first is chosen at start.
std::vector<std::unique_ptr<Tool>> MakeTools(ToolContext& context);

// The tool's menu text in the user's language.
QString TranslatedName(const ToolInfo& info);

}  // namespace tollwen
