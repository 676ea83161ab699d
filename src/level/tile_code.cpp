#include "level/tile_code.h"

#include <string>

#include "level/errors.h"

namespace tollwen {

namespace {

// The value of a hexadecimal digit, or -1 for any other character.
int HexDigitValue(TileCode code) {
  if (code >= '0' && code <= '9') return code - '0';
  if (code >= 'A' && code <= 'F') return code - 'A' + 10;
  if (code >= 'a' && code <= 'f') return code - 'a' + 10;
  return -1;
}

}  // namespace

int TileIndexOf(TileCode code) {
  const int value = HexDigitValue(code);
  if (value < 0) {
    // The message quotes the text that was converted: the code behind a '$' hex prefix.
    // A NUL byte would cut the message short when shown, so it is left out.
    std::string text = "$";
    if (code != '\0') text += code;
    throw EditorError(
        Message(QT_TRANSLATE_NOOP("tollwen::Message", "'%1' is not a valid integer value"),
                {Message::Verbatim(text)}));
  }
  if (value < 1 || value > kTileCount) throw RangeCheckError();
  return value;
}

std::optional<int> TileNumberOf(TileCode code) {
  const int value = HexDigitValue(code);
  if (value < 0) return std::nullopt;
  return value;
}

TileCode TileCodeFor(int index) {
  if (index < 0 || index > kTileCount) throw RangeCheckError();
  return "0123456789ABCDEF"[index];
}

}  // namespace tollwen
