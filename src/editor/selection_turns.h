#pragma once

#include <QKeyCombination>
#include <QString>
#include <QtGlobal>

#include "level/cell_block.h"

namespace tollwen {

// A command that turns the selected cells over or round.
struct SelectionTurn {
  BlockTurn turn;
  // Menu text, with '&' before its accelerator; without it, the name of the history's step.
  // Shown as TranslatedName gives it.
  const char* name;
  const char* objectName;  // the menu item's
  QKeyCombination key;     // as other tile editors bind it
};

// The turns, in the order the Edit menu lists them.
inline constexpr SelectionTurn kSelectionTurns[] = {
    {BlockTurn::kFlipHorizontally, QT_TRANSLATE_NOOP("tollwen::Editor", "Flip &Horizontally"),
     "FlipHorizontallyAction", QKeyCombination(Qt::Key_X)},
    {BlockTurn::kFlipVertically, QT_TRANSLATE_NOOP("tollwen::Editor", "Flip &Vertically"),
     "FlipVerticallyAction", QKeyCombination(Qt::Key_Y)},
    {BlockTurn::kRotateClockwise, QT_TRANSLATE_NOOP("tollwen::Editor", "Rotate Clock&wise"),
     "RotateClockwiseAction", QKeyCombination(Qt::Key_Z)},
    {BlockTurn::kRotateCounterClockwise,
     QT_TRANSLATE_NOOP("tollwen::Editor", "Rotate Cou&nter-clockwise"),
     "RotateCounterClockwiseAction", Qt::SHIFT | Qt::Key_Z},
};

// The turn's menu text in the user's language.
QString TranslatedName(const SelectionTurn& turn);

}  // namespace tollwen
