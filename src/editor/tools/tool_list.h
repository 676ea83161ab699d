#pragma once

#include <memory>
#include <vector>

#include "editor/tools/tool.h"

namespace tollwen {

// Every editing tool, in the order the Edit menu lists them; the first is chosen at start.
std::vector<std::unique_ptr<Tool>> MakeTools(ToolContext& context);

}  // namespace tollwen
