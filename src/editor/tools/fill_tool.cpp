#include "editor/tools/fill_tool.h"

#include "editor/level_document.h"
#include "level/fill_region.h"

namespace tollwen {

void FillTool::Press(const ToolEvent& event) {
  LevelDocument& document = context_.Document();
  document.Edit(QStringLiteral("Fill"),
                ChangesTo(FillRegion(document.Grid(), event.cell), context_.CurrentTile()));
}

}  // namespace tollwen
