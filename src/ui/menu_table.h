#pragma once

#include <QKeySequence>
#include <QList>
#include <functional>

class QAction;
class QMenuBar;

namespace tollwen {

// One entry of the menu bar, in the order entries are listed.
struct MenuEntry {
  const char* menu;        // the drop-down menu's title ("&File"); nullptr: an item on the bar
  const char* objectName;  // nullptr for a separator
  const char* text;
  QList<QKeySequence> shortcuts;
  std::function<void()> triggered;
};

// Adds the entries to `bar`, creating each drop-down menu where it is first named (its object
// name is its title without '&' followed by "Menu": "FileMenu"). Returns the actions made, in
// order (nullptr for separators).
QList<QAction*> AddMenuEntries(QMenuBar& bar, const QList<MenuEntry>& entries);

}  // namespace tollwen
