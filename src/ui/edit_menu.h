#pragma once

#include <QList>
#include <functional>

class QAction;
class QMenu;
class QObject;
class QUndoStack;

namespace tollwen {

class LevelDocument;
class ToolBox;

// The tools at the end of the Edit menu: one exclusive group of checkable items, each with its
// key, checked as the tool box chooses. `choose` runs when the user picks tool `index`.
void AddToolItems(QMenu& menu, ToolBox& tools, const std::function<void(int index)>& choose);

// Undo and redo items that name the step they would take back or do again ("&Undo Fill"), and
// are enabled only while there is one.
void FollowHistory(QAction& undo, QAction& redo, QUndoStack& history);

// Items that act on the selected cells, enabled only while cells are selected.
void FollowSelection(const QList<QAction*>& items, ToolBox& tools);

// Items that edit the level, enabled only while a level is shown.
void FollowLevel(const QList<QAction*>& items, LevelDocument& level);

}  // namespace tollwen
