#pragma once

#include <QObject>
#include <QPointF>
#include <QRect>
#include <memory>
#include <optional>
#include <vector>

#include "editor/tools/tool.h"

namespace tollwen {

// Holds the editing tools, the chosen one and the cell selection, and follows the grid's input:
// it keeps the one record of the gesture under way and hands it to the gesture's tool with each
// event. Border cells are refused, so a tool only ever sees level cells and the grid's current
// cell never moves onto the border.
class ToolBox : public QObject, private ToolContext {
  Q_OBJECT

 public:
  // `currentTile` is the palette's choice, read at every gesture.
  ToolBox(LevelDocument& document, const TileCode& currentTile, QObject* parent = nullptr);
  ~ToolBox() override;

  const std::vector<std::unique_ptr<Tool>>& Tools() const { return tools_; }
  int ActiveIndex() const { return active_; }
  const Tool& Active() const { return *tools_[static_cast<std::size_t>(active_)]; }
  // Chooses tool `index` of Tools(); a gesture under way is cancelled first.
  void Choose(int index);

  // The grid's input. `cell` is a grid cell (the border included; (-1, -1) beyond the cells)
  // and `point` the pointer's position in level cells (as Gesture has it). Those that answer
  // answer whether `cell` becomes the grid's current cell.
  //
  // A left press, and each position the pointer reports while the button is held: the chosen
  // tool's gesture.
  bool Press(QPoint cell, QPointF point, Qt::KeyboardModifiers modifiers);
  bool Drag(QPoint cell, QPointF point, Qt::KeyboardModifiers modifiers);
  // The current cell steps from `from` to `cell`: a key, a wheel notch, or the step towards a
  // pointer held beyond the grid. Inside a drag it is part of the drag. Otherwise the chosen
  // tool may take it; if it does not, the brush paints it in a gesture of its own, which the
  // auto-repeat of a held key (`repeat`) continues.
  bool Step(QPoint from, QPoint cell, Qt::KeyboardModifiers modifiers, bool repeat);
  // The button or the key was released, or the grid lost the focus: the gesture is finished.
  void End(Qt::KeyboardModifiers modifiers);
  // Escape: drops the drag under way, whose rest then does nothing until the release; outside
  // a drag, clears the selection.
  void Escape();
  // Drops the gesture under way (another tool was chosen, the level closed); its rest does
  // nothing until the button or key is released.
  void CancelGesture();
  bool GestureUnderWay() const { return underWay_.has_value(); }

  // The codes the grid shows instead of the level's own while a gesture is under way.
  const CellChanges& Preview() const;

  QRect Selection() const override { return selection_; }
  // Selects the level cells of `cells`, as far as they lie in the level; while no level is
  // shown, nothing.
  void Select(const QRect& cells) override;

 signals:
  // The cells (column and row numbers) whose preview or selection look changed.
  void previewChanged(const QRect& cells);
  void selectionChanged(const QRect& cells);
  void toolChosen(int index);

 private:
  // A gesture under way: its record, its tool, and where the pointer was last.
  struct UnderWay {
    Gesture gesture;
    Tool* tool;
    bool byKeys;
    bool reached = false;  // it has reached a level cell
    QPointF pointer;
  };

  LevelDocument& Document() override { return document_; }
  TileCode CurrentTile() const override { return currentTile_; }
  void Begin(Tool& tool, bool byKeys, Qt::KeyboardModifiers modifiers);
  // The gesture reaches `cell`, the pointer going from `from` to `to`; true for a level cell.
  bool Reach(QPoint cell, QPointF from, QPointF to, Qt::KeyboardModifiers modifiers);
  // Runs a tool event and announces how the preview changed.
  template <typename Event>
  void Run(Event&& event);

  LevelDocument& document_;
  const TileCode& currentTile_;
  std::vector<std::unique_ptr<Tool>> tools_;
  std::unique_ptr<Tool> keyBrush_;  // the brush the keys and the wheel paint with
  int active_ = 0;
  std::optional<UnderWay> underWay_;
  bool dropped_ = false;  // a drag was dropped; its rest does nothing until the release
  QRect selection_;
};

}  // namespace tollwen
