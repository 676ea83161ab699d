#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace tollwen {

class CellGrid;
class LevelDocument;

// Screen readers see a cell grid as an area to work in rather than as a frame. Runs once,
// before the first grid is made (Qt keeps the interface it first made for a widget).
void InstallCellGridAccessibility();

// Sets what screen readers read as the widget's description and, when it differs from the
// one before, tells them, so that they announce it while the widget has the focus.
void SetAccessibleDescription(QWidget& widget, const QString& description);

// Makes the level grid readable with a screen reader: it is named "Level grid", and its
// description is the current cell in the words of its tool tip ("column 12, row 4: Bomb (E)"),
// announced whenever the current cell moves or what the cell holds changes.
class GridAccessibility : public QObject {
  Q_OBJECT

 public:
  GridAccessibility(CellGrid& grid, const LevelDocument& level);

 private:
  void DescribeCurrentCell();

  CellGrid& grid_;
  const LevelDocument& level_;
};

}  // namespace tollwen
