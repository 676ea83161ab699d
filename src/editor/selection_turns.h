#pragma once

#include <QKeyCombination>

#include "level/cell_block.h"

namespace tollwen {

// A command that turns the selected cells over or round.
struct SelectionTurn {
  BlockTurn turn;
  // Menu text, with '&' before its accelerator; without it, the name of the history's step.
  const char* name;
  const char* objectName;  // the menu item's
  QKeyCombination key;     // as other tile editors bind it
};

// The turns, in the order the Edit menu lists them.
inline constexpr SelectionTurn kSelectionTurns[] = {
    {BlockTurn::kFlipHorizontally, "Flip &Horizontally", "FlipHorizontallyAction",
     QKeyCombination(Qt::Key_X)},
    {BlockTurn::kFlipVertically, "Flip &Vertically", "FlipVerticallyAction",
     QKeyCombination(Qt::Key_Y)},
    {BlockTurn::kRotateClockwise, "Rotate Clock&wise", "RotateClockwiseAction",
     QKeyCombination(Qt::Key_Z)},
    {BlockTurn::kRotateCounterClockwise, "Rotate Cou&nter-clockwise",
     "RotateCounterClockwiseAction", Qt::SHIFT | Qt::Key_Z},
};

}  // namespace tollwen
