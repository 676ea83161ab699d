#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <optional>

class QPainter;

namespace tollwen {

class LevelGrid;
class TileSet;

// What a level looks like on the grid: its cells, its picture and the bitmaps that draw it.
// Painting only reads it.
struct LevelScene {
  const LevelGrid& grid;
  const QImage& picture;
  const TileSet& tiles;
};

// How cells that show no level are filled: the window colour, and the highlight colour for
// one cell (the grid's current cell while the grid does not have the focus; none: (-1, -1)).
struct PlainCells {
  QColor fill;
  QPoint highlighted{-1, -1};
  QColor highlight{};
};

// The grid's silver lines and the cells that meet `area` (grid client coordinates, which are
// also picture coordinates), showing the level: every cell shows the picture's pixels under
// it; a level cell also shows its tile, and the start cell the start marker over it, each
// transparently at its own size from the cell's top-left corner. Cells are painted row by row;
// the first cell whose code is not a tile code shows the picture only, and every cell painted
// after it is plain. Returns that cell (column, row), or nothing when every cell was drawn.
// Only pixels inside `area` change.
std::optional<QPoint> PaintLevel(QPainter& painter, const LevelScene& scene, const QRegion& area,
                                 const PlainCells& plain);

// The grid's lines and plain cells, for a grid that shows no level.
void PaintPlainGrid(QPainter& painter, const QRegion& area, const PlainCells& plain);

// The 640 x 448 grid area of an open level as PaintLevel paints it, with no cell highlighted.
// `firstUndrawable` receives the cell at which the display stopped, if any.
QImage RenderLevelImage(const LevelScene& scene, std::optional<QPoint>* firstUndrawable = nullptr);

// The grid pixels that painting the cells in `cells` (a rectangle of column and row numbers)
// can touch: their rectangles and the lines after them, widened by the largest tile or marker
// bitmap, which is drawn at its own size and so can reach beyond a 32-pixel pitch.
QRect CellsPaintExtent(const TileSet& tiles, const QRect& cells);

// The first level cell, row by row, whose character is not a tile code; painting the whole
// grid would stop the level display there.
std::optional<QPoint> FirstUndrawableCell(const LevelGrid& grid);

}  // namespace tollwen
