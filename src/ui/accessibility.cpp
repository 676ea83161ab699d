#include "ui/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include "editor/level_document.h"
#include "ui/cell_grid.h"
#include "ui/grid_tool_tips.h"

namespace tollwen {

namespace {

QAccessibleInterface* CellGridInterface(const QString& className, QObject* object) {
  if (className != QLatin1String(CellGrid::staticMetaObject.className())) return nullptr;
  return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Client);
}

}  // namespace

void InstallCellGridAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(&CellGridInterface);
    return true;
  }();
  static_cast<void>(installed);
}

void SetAccessibleDescription(QWidget& widget, const QString& description) {
  if (widget.accessibleDescription() == description) return;
  widget.setAccessibleDescription(description);
  QAccessibleEvent event(&widget, QAccessible::DescriptionChanged);
  QAccessible::updateAccessibility(&event);
}

GridAccessibility::GridAccessibility(CellGrid& grid, const LevelDocument& level)
    : QObject(&grid), grid_(grid), level_(level) {
  grid.setAccessibleName(tr("Level grid"));
  connect(&grid, &CellGrid::currentCellChanged, this, &GridAccessibility::DescribeCurrentCell);
  connect(&level, &LevelDocument::cellsChanged, this, &GridAccessibility::DescribeCurrentCell);
  connect(&level, &LevelDocument::displayChanged, this, &GridAccessibility::DescribeCurrentCell);
  DescribeCurrentCell();
}

void GridAccessibility::DescribeCurrentCell() {
  const QPoint cell = grid_.CurrentCell();
  SetAccessibleDescription(grid_, CellToolTip(level_.Grid(), cell.x(), cell.y()));
}

}  // namespace tollwen
