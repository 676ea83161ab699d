#pragma once

#include <optional>

namespace tollwen {

// One cell of a level: '0' is empty, '1'..'9' and 'A'..'F' name tiles 1..15.
using TileCode = char;

inline constexpr TileCode kEmptyTile = '0';
inline constexpr int kTileCount = 15;

// The tile number 1..15 of a code, read as a hexadecimal digit (lower case accepted).
// Throws EditorError "'$<c>' is not a valid integer value" for a character that is not a
// hexadecimal digit, and EditorError "Range check error" for a result outside 1..15.
int TileIndexOf(TileCode code);

// The number 0..15 of a code the display can draw: the empty tile or a tile code (lower case
// accepted); nothing for any other character.
std::optional<int> TileNumberOf(TileCode code);
inline bool IsDrawableCode(TileCode code) { return TileNumberOf(code).has_value(); }

// The code the editor writes for tile number 0..15 ('0'..'9', 'A'..'F').
TileCode TileCodeFor(int index);

}  // namespace tollwen
