// Copy, cut, delete and paste of level cells through the system clipboard, and Select All.
#include <QCoreApplication>
#include <optional>
#include <string>
#include <utility>

#include "editor/busy_scope.h"
#include "editor/editor.h"
#include "level/cell_shapes.h"
#include "level/clipboard_text.h"

namespace tollwen {

namespace {

constexpr const char* kNotLevelCellsMessage = QT_TRANSLATE_NOOP(
    "tollwen::Editor",
    "The clipboard holds no level cells. Paste takes rows of tile codes (0-9, A-F), one line per "
    "row.");
constexpr const char* kTooManyCellsMessage = QT_TRANSLATE_NOOP(
    "tollwen::Editor",
    "The clipboard holds more text than a whole level of 13 rows of 19 tile codes. Nothing was "
    "pasted.");

const QRect kWholeLevel(1, 1, LevelGrid::kColumns, LevelGrid::kRows);

// The changes that empty every cell of `cells`.
CellChanges Emptied(const QRect& cells) {
  return ChangesTo(RectangleCells(cells.topLeft(), cells.bottomRight(), false), kEmptyTile);
}

}  // namespace

void Editor::Copy() {
  BusyScope busy(*this);
  const QRect selection = tools_.Selection();
  if (selection.isEmpty()) return;
  window_.SetClipboardText(CellsAsText(level_.Grid(), selection));
}

void Editor::Cut() {
  BusyScope busy(*this);
  const QRect selection = tools_.Selection();
  if (selection.isEmpty()) return;
  window_.SetClipboardText(CellsAsText(level_.Grid(), selection));
  level_.Edit(QCoreApplication::translate("tollwen::Editor", "Cut"), Emptied(selection));
}

void Editor::DeleteSelection() {
  BusyScope busy(*this);
  const QRect selection = tools_.Selection();
  if (!selection.isEmpty()) {
    level_.Edit(QCoreApplication::translate("tollwen::Editor", "Delete"), Emptied(selection));
  }
}

void Editor::Paste(CellPosition currentCell) {
  BusyScope busy(*this);
  if (!level_.Editable()) return;
  // However large the clipboard's text, no more of it is read than a level can hold.
  const std::optional<std::string> text = window_.ClipboardText(kLargestCellsText);
  if (!text) {
    window_.ShowMessage(
        QCoreApplication::translate("tollwen::Editor", kTooManyCellsMessage).toStdString());
    return;
  }
  auto rows = RowsFromText(*text);
  if (!rows) {
    window_.ShowMessage(
        QCoreApplication::translate("tollwen::Editor", kNotLevelCellsMessage).toStdString());
    return;
  }
  tools_.StartPaste(std::move(*rows), currentCell);
}

void Editor::SelectAll() {
  BusyScope busy(*this);
  tools_.Select(kWholeLevel);
}

}  // namespace tollwen
