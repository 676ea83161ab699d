#pragma once

#include <QObject>
#include <QPointF>
#include <QRect>
#include <memory>
#include <optional>
#include <string>
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
  // Chooses tool `index` of Tools(); a gesture or paste under way is cancelled first.
  void Choose(int index);
  // The tool the pointer and the keys work with: a paste waiting to be placed, else the chosen
  // tool.
  const Tool& Current() const { return paste_ ? *paste_ : Active(); }
  bool Pasting() const { return paste_ != nullptr; }

  // Shows `rows` (a block of codes, row by row) as a paste that follows the pointer, its
  // top-left cell on the level cell under the pointer, or on `currentCell` (moved into the
  // level) while the pointer is elsewhere. A click, or Confirm, places it; Escape, another tool
  // or another level drops it.
  void StartPaste(std::vector<std::string> rows, QPoint currentCell);

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
  // Escape: drops the drag under way, whose rest then does nothing until the release, and a
  // paste; otherwise clears the selection.
  void Escape();
  // Return: places a paste at `cell`, the grid's current cell (moved into the level).
  void Confirm(QPoint cell);
  // The pointer is over `cell` with no button held; (-1, -1): elsewhere.
  void Hover(QPoint cell);
  // Drops the gesture under way (another tool was chosen, the level closed) and a paste; the
  // gesture's rest does nothing until the button or key is released.
  void CancelGesture();
  bool GestureUnderWay() const { return underWay_.has_value(); }

  // The codes the grid shows instead of the level's own while a gesture or a paste is under
  // way, and the block a paste or a move is placing (see Tool::Block).
  const CellChanges& Preview() const;
  QRect Block() const;

  QRect Selection() const override { return selection_; }
  // Selects the level cells of `cells`, as far as they lie in the level; while no level is
  // shown, nothing.
  void Select(const QRect& cells) override;

 signals:
  // The cells (column and row numbers) whose preview or selection look changed.
  void previewChanged(const QRect& cells);
  void selectionChanged(const QRect& cells);
  // Another tool was chosen, or a paste started or ended.
  void toolChanged();

 private:
  // A gesture under way: its record, its tool, and where the pointer was last.
  struct UnderWay {
    Gesture gesture;
    Tool* tool;
    bool byKeys;
    QPointF pointer;
    // Whether it has reached a level cell.
    bool Reached() const { return !gesture.passed.empty(); }
  };

  LevelDocument& Document() override { return document_; }
  TileCode CurrentTile() const override { return currentTile_; }
  Tool& CurrentTool() { return paste_ ? *paste_ : *tools_[static_cast<std::size_t>(active_)]; }
  // The tool whose preview the grid shows, if any.
  const Tool* Shown() const { return underWay_ ? underWay_->tool : paste_.get(); }
  void DropPaste();
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
  std::unique_ptr<Tool> paste_;     // a paste waiting to be placed
  int active_ = 0;
  std::optional<QPoint> hovered_;  // the level cell under the resting pointer
  std::optional<UnderWay> underWay_;
  bool dropped_ = false;  // a drag was dropped; its rest does nothing until the release
  QRect selection_;
};

}  // namespace tollwen
