#pragma once

#include <QtGlobal>
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "level/message.h"
#include "level/tile_code.h"

namespace tollwen {

// What the user calls each tile: the palette's and the grid's tool tips show these names, and
// the asset README lists them beside the bitmaps (a test keeps the two in step). Each name is a
// Message source: the window shows it in the user's language, the level tool in English.
struct NamedTile {
  TileCode code;
  std::string_view name;
};

inline constexpr std::array<NamedTile, kTileCount + 1> kTileNames{{
    {'0', QT_TRANSLATE_NOOP("tollwen::Message", "Eraser")},
    {'1', QT_TRANSLATE_NOOP("tollwen::Message", "Conveyor Up")},
    {'2', QT_TRANSLATE_NOOP("tollwen::Message", "Conveyor Right")},
    {'3', QT_TRANSLATE_NOOP("tollwen::Message", "Conveyor Down")},
    {'4', QT_TRANSLATE_NOOP("tollwen::Message", "Conveyor Left")},
    {'5', QT_TRANSLATE_NOOP("tollwen::Message", "Brick Wall")},
    {'6', QT_TRANSLATE_NOOP("tollwen::Message", "Crate")},
    {'7', QT_TRANSLATE_NOOP("tollwen::Message", "Goal")},
    {'8', QT_TRANSLATE_NOOP("tollwen::Message", "Spikes")},
    {'9', QT_TRANSLATE_NOOP("tollwen::Message", "Water")},
    {'A', QT_TRANSLATE_NOOP("tollwen::Message", "Key")},
    {'B', QT_TRANSLATE_NOOP("tollwen::Message", "Locked Door")},
    {'C', QT_TRANSLATE_NOOP("tollwen::Message", "Ice")},
    {'D', QT_TRANSLATE_NOOP("tollwen::Message", "Teleporter")},
    {'E', QT_TRANSLATE_NOOP("tollwen::Message", "Bomb")},
    {'F', QT_TRANSLATE_NOOP("tollwen::Message", "Gem")},
}};

// The name of the tile a cell code shows, in English: '0' and every code the grid draws as a
// tile ('1'..'9', 'A'..'F', and 'a'..'f' as read from a data file); nothing for other
// characters.
std::optional<std::string_view> TileName(TileCode code);
// The same name as a Message, which the window shows in the user's language.
std::optional<Message> TileNameText(TileCode code);

// The code as the user sees it named: "Water (9)"; for a character that is not a tile code
// "'x' is not a tile code", or "byte 0x07 is not a tile code" where it is not printable.
Message TileLabelText(TileCode code);
// TileLabelText in English, as the level tool prints it.
std::string TileLabel(TileCode code);

}  // namespace tollwen
