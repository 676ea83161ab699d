// Flipping and rotating the selected cells.
#include "editor/selection_turns.h"

#include <QCoreApplication>

#include "editor/busy_scope.h"
#include "editor/editor.h"

namespace tollwen {

QString TranslatedName(const SelectionTurn& turn) {
  return QCoreApplication::translate("tollwen::Editor", turn.name);
}

void Editor::TurnSelection(const SelectionTurn& turn) {
  BusyScope busy(*this);
  tools_.CancelGesture();
  const QRect selection = tools_.Selection();
  if (selection.isEmpty()) return;
  // The turned block keeps the selection's top-left cell; what then lies beyond the level's
  // edge is cut off, as a paste's is.
  const CellBlock turned = Turned(BlockOf(level_.Grid(), selection), turn.turn);
  level_.Edit(TranslatedName(turn).remove(QLatin1Char('&')),
              MovedCells(selection, turned, selection.topLeft()));
  tools_.Select(QRect(selection.topLeft(), SizeOf(turned)));
}

}  // namespace tollwen
