#include "display/level_renderer.h"

#include <QPainter>
#include <algorithm>

#include "display/colours.h"
#include "display/tile_set.h"
#include "level/grid_geometry.h"
#include "level/level_grid.h"
#include "level/tile_code.h"

namespace tollwen {

namespace {

using geometry::CellRect;
using geometry::kColumnCount;
using geometry::kGridHeight;
using geometry::kGridWidth;
using geometry::kRowCount;

// The one-pixel lines after every column and every row.
const QRegion& LinesRegion() {
  static const QRegion lines = [] {
    QRegion region;
    for (int c = 0; c < kColumnCount; ++c) {
      const QRect cell = CellRect(c, 0);
      region += QRect(cell.right() + 1, 0, geometry::kLineWidth, kGridHeight);
    }
    for (int r = 0; r < kRowCount; ++r) {
      const QRect cell = CellRect(0, r);
      region += QRect(0, cell.bottom() + 1, kGridWidth, geometry::kLineWidth);
    }
    return region;
  }();
  return lines;
}

void PaintLines(QPainter& painter, const QRegion& area) {
  const QColor silver = QColor::fromRgb(kSilver);
  for (const QRect& line : LinesRegion() & area) painter.fillRect(line, silver);
}

void FillPlainCell(QPainter& painter, const PlainCells& plain, int column, int row) {
  const bool highlighted = plain.highlighted == QPoint(column, row);
  painter.fillRect(CellRect(column, row), highlighted ? plain.highlight : plain.fill);
}

// The largest width and height among the tiles and the marker: how far a bitmap drawn from a
// cell's top-left corner can reach.
QSize LargestBitmap(const TileSet& tiles) {
  QSize largest(tiles.StartMarker().Width(), tiles.StartMarker().Height());
  for (int i = 1; i <= kTileCount; ++i) {
    largest = largest.expandedTo(QSize(tiles.TileBitmap(i).Width(), tiles.TileBitmap(i).Height()));
  }
  return largest;
}

// Draws a bitmap from a cell's top-left corner. One that fits the cell's 32-pixel pitch (the
// cell and the lines after it) is drawn as it is. A larger one reaches into later cells, which
// paint their own picture over it; only its part over this cell and over the lines stays, so
// it is clipped to exactly that.
void DrawCellBitmap(QPainter& painter, const Bitmap& bitmap, const QRect& cell,
                    const QRegion& area) {
  if (bitmap.Empty()) return;
  if (bitmap.Width() <= geometry::kPitch && bitmap.Height() <= geometry::kPitch) {
    bitmap.Draw(painter, cell.topLeft());
    return;
  }
  painter.save();
  painter.setClipRegion((LinesRegion() + cell) & area, Qt::IntersectClip);
  bitmap.Draw(painter, cell.topLeft());
  painter.restore();
}

// The pixels painting cell (column, row) can touch, given the largest bitmap.
QRect CellExtent(int column, int row, const QSize& largest) {
  const QRect cell = CellRect(column, row);
  if (!geometry::IsInnerCell(column, row)) return cell;
  return cell | QRect(cell.topLeft(), largest);
}

}  // namespace

std::optional<QPoint> PaintLevel(QPainter& painter, const LevelScene& scene, const QRegion& area,
                                 const PlainCells& plain) {
  const QSize largest = LargestBitmap(scene.tiles);
  const QRect picture = scene.picture.rect();
  const bool pictureCoversCells =
      picture.contains(QRect(0, 0, kLevelPictureWidth, kLevelPictureHeight));

  painter.save();
  painter.setClipRegion(area, Qt::IntersectClip);
  // The picture goes down in one piece. Where it covers every cell, no cell needs its plain
  // fill first; the lines then go over it, as the picture is never shown under them.
  if (!pictureCoversCells) {
    for (int r = 0; r < kRowCount; ++r) {
      for (int c = 0; c < kColumnCount; ++c) {
        if (area.intersects(CellRect(c, r))) FillPlainCell(painter, plain, c, r);
      }
    }
  }
  const QRect pictureArea = area.boundingRect() & picture;
  if (!pictureArea.isEmpty()) painter.drawImage(pictureArea.topLeft(), scene.picture, pictureArea);
  PaintLines(painter, area);

  std::optional<QPoint> stoppedAt;
  for (int r = 0; r < kRowCount; ++r) {
    for (int c = 0; c < kColumnCount; ++c) {
      if (!area.intersects(CellExtent(c, r, largest))) continue;
      if (stoppedAt) {
        FillPlainCell(painter, plain, c, r);
        continue;
      }
      if (!geometry::IsInnerCell(c, r)) continue;
      const std::optional<int> tile = TileNumberOf(scene.grid.CellAt(c, r));
      if (!tile) {
        stoppedAt = QPoint(c, r);
        continue;
      }
      const QRect cell = CellRect(c, r);
      if (*tile != 0) DrawCellBitmap(painter, scene.tiles.TileBitmap(*tile), cell, area);
      if (c == geometry::kStartColumn && r == geometry::kStartRow) {
        DrawCellBitmap(painter, scene.tiles.StartMarker(), cell, area);
      }
    }
  }
  painter.restore();
  return stoppedAt;
}

void PaintPlainGrid(QPainter& painter, const QRegion& area, const PlainCells& plain) {
  painter.save();
  painter.setClipRegion(area, Qt::IntersectClip);
  PaintLines(painter, area);
  for (int r = 0; r < kRowCount; ++r) {
    for (int c = 0; c < kColumnCount; ++c) {
      if (area.intersects(CellRect(c, r))) FillPlainCell(painter, plain, c, r);
    }
  }
  painter.restore();
}

QImage RenderLevelImage(const LevelScene& scene, std::optional<QPoint>* firstUndrawable) {
  QImage image(kGridWidth, kGridHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  const PlainCells plain{QColor(Qt::white), {-1, -1}, {}};
  const auto stopped = PaintLevel(painter, scene, QRegion(image.rect()), plain);
  if (firstUndrawable != nullptr) *firstUndrawable = stopped;
  return image;
}

QRect CellsPaintExtent(const TileSet& tiles, const QRect& cells) {
  const QSize largest = LargestBitmap(tiles);
  const QRect first = CellRect(cells.left(), cells.top());
  const QRect last = CellRect(cells.right(), cells.bottom());
  // The cells, the lines after them, and any bitmap reaching further from the last one.
  const QRect pitchBox(first.topLeft(), last.bottomRight() + QPoint(1, 1));
  return pitchBox | QRect(last.topLeft(), largest);
}

std::optional<QPoint> FirstUndrawableCell(const LevelGrid& grid) {
  for (int row = 1; row <= LevelGrid::kRows; ++row) {
    for (int column = 1; column <= LevelGrid::kColumns; ++column) {
      if (!IsDrawableCode(grid.CellAt(column, row))) return QPoint(column, row);
    }
  }
  return std::nullopt;
}

}  // namespace tollwen
