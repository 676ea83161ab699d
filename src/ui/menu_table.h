#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>
#include <functional>

class QAction;
class QMenu;
class QMenuBar;

namespace tollwen {

// A drop-down menu of the menu bar, made where an entry first names it.
struct DropDownMenu {
  const char* objectName;  // "FileMenu"
  QString title;           // "&File"
  QMenu* menu = nullptr;   // the menu, once made
};

// One entry of the menu bar, in the order entries are listed.
struct MenuEntry {
  DropDownMenu* menu;      // nullptr: an item on the bar itself
  const char* objectName;  // nullptr for a separator
  QString text;
  QList<QKeySequence> shortcuts;
  std::function<void()> triggered;
  QAction** kept = nullptr;  // where the window keeps the item, when it does
};

// Adds the entries to `bar`, making each drop-down menu where it is first named.
void AddMenuEntries(QMenuBar& bar, const QList<MenuEntry>& entries);

}  // namespace tollwen
