#pragma once

#include <QColor>
#include <QtGlobal>
#include <functional>

#include "display/colours.h"
#include "display/tile_set.h"

namespace tollwen {

// The square at the top-left of each tile and of the marker that recolouring covers: one cell.
inline constexpr int kRecolouredSize = 32;

// Teal is the start marker's transparent colour: arrows in teal would vanish from the marker,
// so it is refused as an arrow colour, with this message (a Message source).
inline constexpr char kRefusedArrowColourMessage[] =
    QT_TRANSLATE_NOOP("tollwen::Message", "Sorry this colour cannot be used for the arrow color");
inline constexpr bool IsRefusedArrowColour(QRgb colour) {
  return (colour & kRgbMask) == (kTeal & kRgbMask);
}

// Turns every pixel of colour `oldColour` in the top-left 32 x 32 square of tiles 1..15, then of
// the start marker, into `newColour`; every other pixel stays. Only exact matches change, so
// pixels that already had `newColour` follow every later change too. Each bitmap's transparency
// is off around its copy and on afterwards. `eachTile` runs once after each tile (the window
// keeps repainting). Cached transparent copies are rebuilt on the next draw.
void RecolourArrows(TileSet& tiles, QRgb oldColour, QRgb newColour,
                    const std::function<void()>& eachTile = {});

}  // namespace tollwen
