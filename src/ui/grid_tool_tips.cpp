#include "ui/grid_tool_tips.h"

#include <QCoreApplication>
#include <QHelpEvent>
#include <QToolTip>

#include "display/tile_names.h"
#include "level/grid_geometry.h"
#include "level/level_grid.h"
#include "ui/cell_grid.h"

namespace tollwen {

QString CellToolTip(const LevelGrid& cells, int column, int row) {
  if (!geometry::IsInnerCell(column, row)) return {};
  return QCoreApplication::translate("tollwen::GridToolTips", "column %1, row %2: %3")
      .arg(QString::number(column), QString::number(row),
           QString::fromStdString(TileLabelText(cells.CellAt(column, row)).Translated()));
}

GridToolTips::GridToolTips(CellGrid& grid, const LevelGrid& cells)
    : QObject(&grid), grid_(grid), cells_(cells) {
  grid.installEventFilter(this);
}

bool GridToolTips::eventFilter(QObject* watched, QEvent* event) {
  if (watched != &grid_ || event->type() != QEvent::ToolTip) return false;
  const auto* help = static_cast<QHelpEvent*>(event);
  const QPoint origin = grid_.contentsRect().topLeft();
  const QPoint cell = grid_.CellAt(help->pos() - origin);
  const QString text = CellToolTip(cells_, cell.x(), cell.y());
  if (text.isEmpty()) {
    QToolTip::hideText();
    return true;
  }
  // The tip stays while the pointer is over this cell or the lines right of and below it;
  // moving on to another cell asks for that cell's tip.
  const QRect area = grid_.CellRect(cell.x(), cell.y()).adjusted(0, 0, 1, 1).translated(origin);
  QToolTip::showText(help->globalPos(), text, &grid_, area);
  return true;
}

}  // namespace tollwen
