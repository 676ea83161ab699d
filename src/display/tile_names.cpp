#include "display/tile_names.h"

#include <cstdio>

namespace tollwen {

std::optional<std::string_view> TileName(TileCode code) {
  const std::optional<int> number = TileNumberOf(code);
  if (!number) return std::nullopt;
  return kTileNames[static_cast<size_t>(*number)].name;
}

std::string TileLabel(TileCode code) {
  if (const auto name = TileName(code)) return std::string(*name) + " (" + code + ")";
  const auto byte = static_cast<unsigned char>(code);
  if (byte >= 0x20 && byte < 0x7F) return std::string("'") + code + "' is not a tile code";
  char text[40];
  std::snprintf(text, sizeof text, "byte 0x%02X is not a tile code", byte);
  return text;
}

}  // namespace tollwen
