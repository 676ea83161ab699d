#pragma once

#include <QCursor>

#include "editor/tools/tool.h"

namespace tollwen {

// The pointer over the grid for a tool: a cross whose centre is the hot spot, with a small
// sign of the tool below and to the right of it, drawn black on white so it shows on any
// picture.
QCursor ToolCursorFor(ToolCursor cursor);

}  // namespace tollwen
