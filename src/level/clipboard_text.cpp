#include "level/clipboard_text.h"

namespace tollwen {

namespace {

// The code a character of pasted text stands for, or nothing when it is not a tile code.
std::optional<TileCode> CodeOf(char c) {
  if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')) return c;
  if (c >= 'a' && c <= 'f') return static_cast<TileCode>(c - 'a' + 'A');
  return std::nullopt;
}

}  // namespace

std::string CellsAsText(const LevelGrid& grid, const QRect& cells) {
  std::string text;
  for (int row = cells.top(); row <= cells.bottom(); ++row) {
    for (int column = cells.left(); column <= cells.right(); ++column) {
      text += grid.CellAt(column, row);
    }
    text += '\n';
  }
  return text;
}

std::optional<std::vector<std::string>> RowsFromText(std::string_view text) {
  while (text.ends_with('\n') || text.ends_with('\r')) text.remove_suffix(1);
  if (text.empty()) return std::nullopt;
  std::vector<std::string> rows;
  for (;;) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.empty()) return std::nullopt;
    std::string& row = rows.emplace_back();
    for (const char c : line) {
      const std::optional<TileCode> code = CodeOf(c);
      if (!code) return std::nullopt;
      row += *code;
    }
    if (end == std::string_view::npos) return rows;
    text.remove_prefix(end + 1);
  }
}

}  // namespace tollwen
