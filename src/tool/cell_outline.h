#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <vector>

namespace tollwen {

// A marked cell's outline has two colours, so that it stands out on any picture: black on the
// grid lines around the cell, and magenta on the cell's own outermost two rings of pixels.
inline constexpr QRgb kOutlineOuterColour = 0xFF000000;
inline constexpr QRgb kOutlineInnerColour = 0xFFFF00FF;

// Outlines each level cell of `cells` (column 1..19, row 1..13) on `image`, a grid area as
// RenderLevelImage makes it. Only the outline pixels change.
void OutlineCells(QImage& image, const std::vector<QPoint>& cells);

}  // namespace tollwen
