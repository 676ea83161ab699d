#include "ui/edit_menu.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QMenu>
#include <QUndoStack>

#include "editor/level_document.h"
#include "editor/tools/tool_box.h"
#include "editor/tools/tool_list.h"

namespace tollwen {

void AddToolItems(QMenu& menu, ToolBox& tools, const std::function<void(int index)>& choose) {
  auto* group = new QActionGroup(&menu);
  group->setExclusive(true);
  for (std::size_t i = 0; i < tools.Tools().size(); ++i) {
    const int index = static_cast<int>(i);
    const ToolInfo info = tools.Tools()[i]->Info();
    auto* action = new QAction(TranslatedName(info), group);
    // Named in English, whatever the language: "ConveyorPathTool".
    action->setObjectName(
        QString::fromLatin1(info.name).remove(QLatin1Char('&')).remove(QLatin1Char(' ')) +
        QStringLiteral("Tool"));
    action->setCheckable(true);
    action->setChecked(index == tools.ActiveIndex());
    action->setShortcut(QKeySequence(QChar::fromLatin1(info.key)));
    QObject::connect(action, &QAction::triggered, &menu, [choose, index] { choose(index); });
    menu.addAction(action);
  }
  QObject::connect(&tools, &ToolBox::toolChanged, group,
                   [group, &tools] { group->actions().at(tools.ActiveIndex())->setChecked(true); });
}

namespace {

// `verb` is the item's text without a step, `verbAndStep` with the step's name for %1.
void FollowSteps(QAction& action, QUndoStack& history, const QString& verb,
                 const QString& verbAndStep, bool redo) {
  const auto update = [&action, &history, verb, verbAndStep, redo] {
    const QString step = redo ? history.redoText() : history.undoText();
    action.setText(step.isEmpty() ? verb : verbAndStep.arg(step));
    action.setEnabled(redo ? history.canRedo() : history.canUndo());
  };
  QObject::connect(&history, &QUndoStack::indexChanged, &action, update);
  QObject::connect(&history, &QUndoStack::cleanChanged, &action, update);
  update();
}

}  // namespace

void FollowHistory(QAction& undo, QAction& redo, QUndoStack& history) {
  FollowSteps(undo, history, QCoreApplication::translate("tollwen::EditMenu", "&Undo"),
              QCoreApplication::translate("tollwen::EditMenu", "&Undo %1"), false);
  FollowSteps(redo, history, QCoreApplication::translate("tollwen::EditMenu", "&Redo"),
              QCoreApplication::translate("tollwen::EditMenu", "&Redo %1"), true);
}

void FollowSelection(const QList<QAction*>& items, ToolBox& tools) {
  const auto update = [items, &tools] {
    for (QAction* item : items) item->setEnabled(!tools.Selection().isEmpty());
  };
  QObject::connect(&tools, &ToolBox::selectionChanged, items.front(), update);
  update();
}

void FollowLevel(const QList<QAction*>& items, LevelDocument& level) {
  const auto update = [items, &level] {
    for (QAction* item : items) item->setEnabled(level.Editable());
  };
  QObject::connect(&level, &LevelDocument::displayChanged, items.front(), update);
  update();
}

}  // namespace tollwen
