#pragma once

#include <QCursor>

#include "editor/tools/tool.h"

namespace tollwen {

// The pointer over the grid for a tool: a cross whose centre is the hot spot, with the tool's
// sign below and to the right of it, drawn black on white so it shows on any picture.
QCursor ToolCursorFor(const ToolInfo& tool);

}  // namespace tollwen
