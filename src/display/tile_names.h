#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "level/tile_code.h"

namespace tollwen {

// What the user calls each tile: the palette's and the grid's tool tips show these names, and
// the asset README lists them beside the bitmaps (a test keeps the two in step).
struct NamedTile {
  TileCode code;
  std::string_view name;
};

inline constexpr std::array<NamedTile, kTileCount + 1> kTileNames{{
    {'0', "Eraser"},
    {'1', "Conveyor Up"},
    {'2', "Conveyor Right"},
    {'3', "Conveyor Down"},
    {'4', "Conveyor Left"},
    {'5', "Brick Wall"},
    {'6', "Crate"},
    {'7', "Goal"},
    {'8', "Spikes"},
    {'9', "Water"},
    {'A', "Key"},
    {'B', "Locked Door"},
    {'C', "Ice"},
    {'D', "Teleporter"},
    {'E', "Bomb"},
    {'F', "Gem"},
}};

// The name of the tile a cell code shows: '0' and every code the grid draws as a tile
// ('1'..'9', 'A'..'F', and 'a'..'f' as read from a data file); nothing for other characters.
std::optional<std::string_view> TileName(TileCode code);

// The code as the user sees it named: "Water (9)"; for a character that is not a tile code
// "'x' is not a tile code", or "byte 0x07 is not a tile code" where it is not printable.
std::string TileLabel(TileCode code);

}  // namespace tollwen
