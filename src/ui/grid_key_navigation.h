#pragma once

#include <QPoint>
#include <Qt>
#include <optional>

namespace tollwen {

// The cell a navigation key moves the current cell to in a grid whose every cell is visible
// at once: an arrow key to the neighbour, Home/End to the first or last column (with Ctrl the
// first or last cell), Page Up/Down to the first or last row, Ctrl with Left/Right to the
// first or last column; Ctrl with Up/Down would scroll, which the grid never does, so it stays.
// Nothing for a key that does not navigate. The result lies inside the grid.
std::optional<QPoint> KeyTarget(int key, Qt::KeyboardModifiers modifiers, QPoint current,
                                QPoint lastCell);

}  // namespace tollwen
