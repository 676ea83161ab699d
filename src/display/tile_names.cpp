#include "display/tile_names.h"

#include <cstdio>

namespace tollwen {

std::optional<std::string_view> TileName(TileCode code) {
  int index = -1;
  if (code >= '0' && code <= '9') index = code - '0';
  if (code >= 'A' && code <= 'F') index = code - 'A' + 10;
  if (code >= 'a' && code <= 'f') index = code - 'a' + 10;
  if (index < 0) return std::nullopt;
  return kTileNames[static_cast<size_t>(index)].name;
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
