#include "display/grid_painter.h"

#include <QPainter>

#include "editor/editor_state.h"
#include "level/level_grid.h"
#include "level/tile_code.h"

namespace tollwen {

namespace {

bool IsInnerCell(int column, int row) {
  return column >= 1 && column <= LevelGrid::kColumns && row >= 1 && row <= LevelGrid::kRows;
}

QRect BitmapExtent(const Bitmap& bitmap, QPoint topLeft) {
  if (bitmap.Empty()) return {};
  return QRect(topLeft, QSize(bitmap.Width(), bitmap.Height()));
}

}  // namespace

void PaintGridCell(QPainter& painter, EditorState& state, int column, int row, const QRect& rect) {
  if (!state.LevelOpen) return;
  try {
    // Picture pixel (x, y) lands on grid pixel (x, y); outside the picture the cell keeps its
    // fill (before any picture has been opened the background is empty).
    const QRect source = rect & state.Background.rect();
    if (!source.isEmpty()) painter.drawImage(source.topLeft(), state.Background, source);
    if (!IsInnerCell(column, row)) return;
    const TileCode code = state.Grid.CellAt(column, row);
    if (code != kEmptyTile) state.Tiles.TileBitmap(TileIndexOf(code)).Draw(painter, rect.topLeft());
    if (column == kStartColumn && row == kStartRow) {
      state.Tiles.StartMarker().Draw(painter, rect.topLeft());
    }
  } catch (...) {
    // The display's only recovery: stop showing the level rather than report every repaint.
    state.LevelOpen = false;
  }
}

QRect GridCellExtent(const EditorState& state, int column, int row, const QRect& rect) {
  QRect extent = rect;
  if (!IsInnerCell(column, row)) return extent;
  const TileCode code = state.Grid.CellAt(column, row);
  if (code != kEmptyTile) {
    try {
      extent |= BitmapExtent(state.Tiles.TileBitmap(TileIndexOf(code)), rect.topLeft());
    } catch (...) {
      // Not a tile code: painting stops at this cell, nothing is drawn beyond its rectangle.
    }
  }
  if (column == kStartColumn && row == kStartRow) {
    extent |= BitmapExtent(state.Tiles.StartMarker(), rect.topLeft());
  }
  return extent;
}

bool HoldsUndrawableCell(const LevelGrid& grid) {
  for (int row = 1; row <= LevelGrid::kRows; ++row) {
    for (int column = 1; column <= LevelGrid::kColumns; ++column) {
      const TileCode code = grid.CellAt(column, row);
      if (code == kEmptyTile) continue;
      try {
        TileIndexOf(code);
      } catch (...) {
        return true;
      }
    }
  }
  return false;
}

}  // namespace tollwen
