// Feeds arbitrary text to the clipboard reader as a paste uses it: it takes rows of tile codes
// or nothing, and the cells a paste changes all lie in the level and hold tile codes.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "level/cell_block.h"
#include "level/clipboard_text.h"
#include "level/grid_geometry.h"

namespace {

bool IsUpperTileCode(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto rows = tollwen::RowsFromText(text);
  if (!rows) return 0;
  for (const std::string& row : *rows) {
    for (const char c : row) {
      if (!IsUpperTileCode(c)) std::abort();
    }
  }
  for (const tollwen::CellPosition corner : {QPoint(1, 1), QPoint(19, 13), QPoint(7, 5)}) {
    for (const tollwen::CellChange& change : tollwen::PlacedCells(*rows, corner)) {
      if (!tollwen::geometry::IsInnerCell(change.cell.x(), change.cell.y()) ||
          !IsUpperTileCode(change.code)) {
        std::abort();
      }
    }
  }
  return 0;
}
