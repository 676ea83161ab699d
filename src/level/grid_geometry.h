#pragma once

#include <QPointF>
#include <QRect>

#include "level/level_grid.h"
#include "level/level_picture.h"

namespace tollwen {

// Where the level grid's cells lie, in pixels of the grid's client area (which are also the
// level picture's pixels). The 19 x 13 level cells are framed by one ring of narrow border
// cells; a one-pixel line follows every column and every row. Every size the grid widget and the
// window have derives from these numbers; the level picture has its own, which they must fit.
namespace geometry {

inline constexpr int kBorderSize = 15;                  // the first and last column and row
inline constexpr int kInnerSize = 31;                   // a level cell's width and height
inline constexpr int kLineWidth = 1;                    // the line after each column and row
inline constexpr int kPitch = kInnerSize + kLineWidth;  // from one level cell to the next

// Cells of the grid widget: the level cells plus the border ring.
inline constexpr int kColumnCount = LevelGrid::kColumns + 2;
inline constexpr int kRowCount = LevelGrid::kRows + 2;
inline constexpr int kLastColumn = kColumnCount - 1;
inline constexpr int kLastRow = kRowCount - 1;

// Cells and lines together.
inline constexpr int kGridWidth = 2 * (kBorderSize + kLineWidth) + LevelGrid::kColumns * kPitch;
inline constexpr int kGridHeight = 2 * (kBorderSize + kLineWidth) + LevelGrid::kRows * kPitch;

// The grid widget: a sunken two-pixel edge around a client area that leaves a strip of the
// window colour right of and below the last lines.
inline constexpr int kEdgeWidth = 2;
inline constexpr int kClientStrip = 5;
inline constexpr int kWidgetWidth = kGridWidth + kClientStrip + 2 * kEdgeWidth;
inline constexpr int kWidgetHeight = kGridHeight + kClientStrip + 2 * kEdgeWidth;

// The cell every level starts on; the start marker is always drawn there.
inline constexpr int kStartColumn = 8;
inline constexpr int kStartRow = 9;

// The x of column `column`'s first pixel (0 .. kColumnCount - 1); rows the same way.
constexpr int CellStart(int index) {
  return index == 0 ? 0 : kBorderSize + kLineWidth + (index - 1) * kPitch;
}

constexpr int ColumnWidth(int column) {
  return column == 0 || column == kLastColumn ? kBorderSize : kInnerSize;
}

constexpr int RowHeight(int row) { return row == 0 || row == kLastRow ? kBorderSize : kInnerSize; }

// The cell's rectangle, without the lines after it.
constexpr QRect CellRect(int column, int row) {
  return QRect(CellStart(column), CellStart(row), ColumnWidth(column), RowHeight(row));
}

// A point of the grid's client area in level cells: level cell (c, r) with the lines right of
// and below it spans the points c <= x < c + 1, r <= y < r + 1; the border cells and what lies
// beyond them follow at the same scale, so a straight way stays straight.
constexpr QPointF LevelPoint(QPoint client) {
  return QPointF(1.0 + (client.x() - CellStart(1)) / static_cast<double>(kPitch),
                 1.0 + (client.y() - CellStart(1)) / static_cast<double>(kPitch));
}

// A level cell (column 1 .. 19, row 1 .. 13), as opposed to a border cell.
constexpr bool IsInnerCell(int column, int row) {
  return column >= 1 && column <= LevelGrid::kColumns && row >= 1 && row <= LevelGrid::kRows;
}

static_assert(kGridWidth == 640 && kGridHeight == 448);
static_assert(kWidgetWidth == 649 && kWidgetHeight == 457);
static_assert(CellStart(kLastColumn) + kBorderSize + kLineWidth == kGridWidth);
static_assert(CellRect(1, 1) == QRect(16, 16, 31, 31));

// The level picture is drawn at the grid's top-left corner: it must cover every cell without
// reaching past the grid (at 640 x 447 it leaves out only the last line's row of pixels).
static_assert(kLevelPictureWidth >= CellStart(kLastColumn) + kBorderSize &&
                  kLevelPictureHeight >= CellStart(kLastRow) + kBorderSize,
              "the level picture must cover every cell");
static_assert(kLevelPictureWidth <= kGridWidth && kLevelPictureHeight <= kGridHeight,
              "the level picture must not reach past the grid");

}  // namespace geometry

}  // namespace tollwen
