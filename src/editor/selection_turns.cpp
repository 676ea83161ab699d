// Flipping and rotating the selected cells.
#include "editor/selection_turns.h"

#include <QCoreApplication>
#include <algorithm>

#include "editor/busy_scope.h"
#include "editor/editor.h"

namespace tollwen {

QString TranslatedName(const SelectionTurn& turn) {
  return QCoreApplication::translate("tollwen::Editor", turn.name);
}

void Editor::TurnSelection(BlockTurn turn) {
  BusyScope busy(*this);
  tools_.CancelGesture();
  const QRect selection = tools_.Selection();
  if (selection.isEmpty()) return;
  const auto* command =
      std::find_if(std::begin(kSelectionTurns), std::end(kSelectionTurns),
                   [turn](const SelectionTurn& each) { return each.turn == turn; });
  // The turned block keeps the selection's top-left cell; what then lies beyond the level's
  // edge is cut off, as a paste's is.
  const CellBlock turned = Turned(BlockOf(level_.Grid(), selection), turn);
  level_.Edit(TranslatedName(*command).remove(QLatin1Char('&')),
              MovedCells(selection, turned, selection.topLeft()));
  tools_.Select(QRect(selection.topLeft(), SizeOf(turned)));
}

}  // namespace tollwen
