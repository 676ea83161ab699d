#include "ui/menu_table.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace tollwen {

namespace {

QMenu& MenuOf(QMenuBar& bar, DropDownMenu& menu) {
  if (menu.menu == nullptr) {
    menu.menu = bar.addMenu(menu.title);
    menu.menu->setObjectName(QString::fromLatin1(menu.objectName));
  }
  return *menu.menu;
}

}  // namespace

void AddMenuEntries(QMenuBar& bar, const QList<MenuEntry>& entries) {
  for (const MenuEntry& entry : entries) {
    QWidget* owner = entry.menu != nullptr ? static_cast<QWidget*>(&MenuOf(bar, *entry.menu))
                                           : static_cast<QWidget*>(&bar);
    if (entry.objectName == nullptr) {
      static_cast<QMenu*>(owner)->addSeparator();
      continue;
    }
    auto* action = new QAction(entry.text, owner);
    action->setObjectName(QString::fromLatin1(entry.objectName));
    action->setShortcuts(entry.shortcuts);
    // An ordinary menu item on every platform.
    action->setMenuRole(QAction::NoRole);
    QObject::connect(action, &QAction::triggered, owner, [run = entry.triggered] { run(); });
    owner->addAction(action);
    if (entry.kept != nullptr) *entry.kept = action;
  }
}

}  // namespace tollwen
