// The "Select" button of the arrow colour: recolours the tile and marker bitmaps in memory.
#include "display/arrow_colour.h"
#include "display/colours.h"
#include "editor/busy_scope.h"
#include "editor/editor.h"
#include "level/message.h"

namespace tollwen {

void Editor::ChooseArrowColour() {
  BusyScope busy(*this);
  const QRgb oldColour = state_.ArrowColour;
  const std::optional<QRgb> chosen = window_.AskArrowColour(oldColour);
  if (!chosen) return;
  const QRgb newColour = *chosen | kOpaque;

  if (IsRefusedArrowColour(newColour)) {
    window_.ShowMessage(Message(kRefusedArrowColourMessage).Translated());
    return;
  }

  state_.ArrowColour = newColour;
  window_.ShowArrowColour(newColour);

  RecolourArrows(state_.Tiles, oldColour, newColour, [this] { window_.ProcessPendingMessages(); });

  if (level_.Editable()) window_.RepaintGrid();
}

}  // namespace tollwen
