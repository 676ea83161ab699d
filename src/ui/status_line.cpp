#include "ui/status_line.h"

#include <QLabel>
#include <algorithm>

#include "display/tile_names.h"
#include "editor/editor.h"
#include "editor/tools/tool_list.h"
#include "level/grid_geometry.h"
#include "ui/grid_tool_tips.h"
#include "ui/level_grid_view.h"

namespace tollwen {

namespace {

// A label of the line, wide enough for each of `texts` so that the labels after it keep their
// place. A screen reader reads its text as its name, and what it is as its description.
QLabel* AddLabel(QStatusBar& line, const char* objectName, const QString& description,
                 const QStringList& texts, int stretch = 0) {
  auto* label = new QLabel(&line);
  label->setObjectName(QString::fromLatin1(objectName));
  label->setAccessibleDescription(description);
  int width = 0;
  for (const QString& text : texts) {
    width = std::max(width, label->fontMetrics().horizontalAdvance(text));
  }
  label->setMinimumWidth(width);
  line.addWidget(label, stretch);
  return label;
}

// The tool's name as the menu shows it, without the accelerator's mark.
QString ToolName(const Tool& tool) { return TranslatedName(tool.Info()).remove(QLatin1Char('&')); }

QString TileText(TileCode code) { return QString::fromStdString(TileLabelText(code).Translated()); }

}  // namespace

StatusLine::StatusLine(LevelGridView& grid, Editor& editor, QWidget* parent)
    : QStatusBar(parent), grid_(grid), editor_(editor) {
  setObjectName(QStringLiteral("StatusLine"));
  setSizeGripEnabled(false);  // the window has a fixed size
  // Room for every tile's name, in the last cell, and for every tool's.
  QStringList cells;
  QStringList tiles;
  LevelGrid sample;
  for (const NamedTile& tile : kTileNames) {
    sample.SetCell(LevelGrid::kColumns, LevelGrid::kRows, tile.code);
    cells << CellToolTip(sample, LevelGrid::kColumns, LevelGrid::kRows);
    tiles << TileText(tile.code);
  }
  QStringList tools;
  for (const auto& tool : editor.Tools().Tools()) tools << ToolName(*tool);
  cell_ =
      AddLabel(*this, "CellStatus", tr("The cell under the pointer, or the current cell"), cells);
  tile_ = AddLabel(*this, "TileStatus", tr("The current tile"), tiles);
  tool_ = AddLabel(*this, "ToolStatus", tr("The tool in use"), tools);
  note_ = AddLabel(*this, "NoteStatus", tr("The last note"), {}, 1);

  connect(&grid, &CellGrid::hoveredCellChanged, this, &StatusLine::ShowCell);
  connect(&grid, &CellGrid::currentCellChanged, this, &StatusLine::ShowCell);
  const LevelDocument& level = editor.Level();
  connect(&level, &LevelDocument::cellsChanged, this, &StatusLine::ShowCell);
  connect(&level, &LevelDocument::displayChanged, this, [this] {
    ShowCell();
    note_->clear();  // a note is about the level it was given for
  });
  connect(&editor.Tools(), &ToolBox::toolChanged, this, &StatusLine::ShowTool);
  ShowCell();
  ShowTile();
  ShowTool();
}

void StatusLine::ShowCell() {
  // The level cell under the pointer, else the current cell; nothing while no level is shown.
  const QPoint hovered = grid_.HoveredCell();
  const QPoint cell =
      geometry::IsInnerCell(hovered.x(), hovered.y()) ? hovered : grid_.CurrentCell();
  cell_->setText(editor_.Level().Editable()
                     ? CellToolTip(editor_.Level().Grid(), cell.x(), cell.y())
                     : QString());
}

void StatusLine::ShowTile() { tile_->setText(TileText(editor_.State().CurrentTile)); }

void StatusLine::ShowTool() { tool_->setText(ToolName(editor_.Tools().Current())); }

void StatusLine::ShowNote(const std::string& text) { note_->setText(QString::fromStdString(text)); }

}  // namespace tollwen
