#pragma once

#include <QRect>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "level/cell_change.h"
#include "level/level_grid.h"

namespace tollwen {

// The longest text a block of level cells can take: a whole level, its rows ended by CR LF.
inline constexpr std::size_t kLargestCellsText = LevelGrid::kRows * (LevelGrid::kColumns + 2);

// A block of level cells as plain text, so that it can move between levels, between editors
// and through any text editor: one line per row, each row its codes left to right, every line
// ended by LF.
std::string CellsAsText(const LevelGrid& grid, const QRect& cells);

// The rows of a text that holds nothing but tile codes ('0'..'9', 'A'..'F'; lower case is
// taken as upper case), one row per line. Lines may end in LF or CR LF; line ends after the
// last row are ignored. Rows may differ in length. Nothing for any other text: an empty one,
// an empty line between rows, or any character that is not a tile code.
std::optional<std::vector<std::string>> RowsFromText(std::string_view text);

}  // namespace tollwen
