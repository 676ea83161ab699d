#include "display/tile_names.h"

#include <cstdio>
#include <utility>

namespace tollwen {

std::optional<std::string_view> TileName(TileCode code) {
  const std::optional<int> number = TileNumberOf(code);
  if (!number) return std::nullopt;
  return kTileNames[static_cast<size_t>(*number)].name;
}

std::optional<Message> TileNameText(TileCode code) {
  // The names are string literals, so their views end where the literals do.
  if (const auto name = TileName(code)) return Message(name->data());
  return std::nullopt;
}

Message TileLabelText(TileCode code) {
  if (auto name = TileNameText(code)) {
    return Message(QT_TRANSLATE_NOOP("tollwen::Message", "%1 (%2)"),
                   {std::move(*name), Message::Verbatim(std::string(1, code))});
  }
  const auto byte = static_cast<unsigned char>(code);
  if (byte >= 0x20 && byte < 0x7F) {
    return Message(QT_TRANSLATE_NOOP("tollwen::Message", "'%1' is not a tile code"),
                   {Message::Verbatim(std::string(1, code))});
  }
  char hex[3];
  std::snprintf(hex, sizeof hex, "%02X", byte);
  return Message(QT_TRANSLATE_NOOP("tollwen::Message", "byte 0x%1 is not a tile code"),
                 {Message::Verbatim(hex)});
}

std::string TileLabel(TileCode code) { return TileLabelText(code).English(); }

}  // namespace tollwen
