#pragma once

#include <QRect>

class QPainter;

namespace tollwen {

struct EditorState;
class LevelGrid;

// The cell every level starts on; the start marker is always drawn there.
inline constexpr int kStartColumn = 8;
inline constexpr int kStartRow = 9;

// Paints the level's content of grid cell (column, row) into `rect` (grid client coordinates,
// which are also picture coordinates): nothing while no level is shown; otherwise the
// picture's pixels under the cell, then on inner cells (1..19, 1..13) the tile of the cell's
// code and, on the start cell, the start marker, each transparently at its own size from the
// cell's top-left corner. A cell that cannot be painted (a character that is not a tile code)
// switches the level display off: LevelOpen becomes false, silently, and later cells stay
// plain until New or Open shows a level again.
void PaintGridCell(QPainter& painter, EditorState& state, int column, int row, const QRect& rect);

// The pixels PaintGridCell can touch for the cell: `rect` united with the own size of the
// cell's tile and, on the start cell, of the marker (an oversized bitmap reaches into the
// neighbouring cells).
QRect GridCellExtent(const EditorState& state, int column, int row, const QRect& rect);

// True when an inner cell holds a character that is not a tile code, so that painting the
// grid would switch the level display off.
bool HoldsUndrawableCell(const LevelGrid& grid);

}  // namespace tollwen
