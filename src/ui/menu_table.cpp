#include "ui/menu_table.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace tollwen {

namespace {

QMenu* MenuTitled(QMenuBar& bar, const char* title) {
  const QString text = QString::fromUtf8(title);
  for (QAction* action : bar.actions()) {
    if (action->menu() != nullptr && action->text() == text) return action->menu();
  }
  QMenu* menu = bar.addMenu(text);
  menu->setObjectName(QString(text).remove(QLatin1Char('&')).remove(QLatin1Char(' ')) +
                      QStringLiteral("Menu"));
  return menu;
}

}  // namespace

QList<QAction*> AddMenuEntries(QMenuBar& bar, const QList<MenuEntry>& entries) {
  QList<QAction*> actions;
  for (const MenuEntry& entry : entries) {
    QWidget* owner = entry.menu != nullptr ? static_cast<QWidget*>(MenuTitled(bar, entry.menu))
                                           : static_cast<QWidget*>(&bar);
    if (entry.objectName == nullptr) {
      static_cast<QMenu*>(owner)->addSeparator();
      actions.append(nullptr);
      continue;
    }
    auto* action = new QAction(QString::fromUtf8(entry.text), owner);
    action->setObjectName(QString::fromUtf8(entry.objectName));
    action->setShortcuts(entry.shortcuts);
    // An ordinary menu item on every platform.
    action->setMenuRole(QAction::NoRole);
    QObject::connect(action, &QAction::triggered, owner, [run = entry.triggered] { run(); });
    owner->addAction(action);
    actions.append(action);
  }
  return actions;
}

}  // namespace tollwen
