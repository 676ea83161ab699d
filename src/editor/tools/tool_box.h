#pragma once

#include <QObject>
#include <QRect>
#include <memory>
#include <vector>

#include "editor/tools/tool.h"

namespace tollwen {

// Where a gesture on the grid comes from: the pointer (a left press, its drag and release),
// or the keyboard and the wheel, which paint with the brush whatever tool is chosen.
enum class GestureSource { kPointer, kKeys };

// Holds the editing tools, the chosen one and the cell selection, and turns the grid's
// gestures into tool events. Border cells are refused, so a gesture only ever reaches level
// cells and the grid's current cell never moves onto the border.
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

  // The grid's gestures. A gesture starts, asks for cells (true: the cell is taken and
  // becomes the grid's current cell), then finishes or is cancelled.
  void BeginGesture(GestureSource source);
  bool AskCell(int column, int row, Qt::KeyboardModifiers modifiers);
  void FinishGesture(Qt::KeyboardModifiers modifiers);
  void CancelGesture();
  bool GestureUnderWay() const { return gesture_ != nullptr; }

  // The codes the grid shows instead of the level's own while a gesture is under way.
  const CellChanges& Preview() const;

  // The selected level cells (column and row numbers); empty when nothing is selected.
  QRect Selection() const { return selection_; }
  void Select(const QRect& cells) override;

 signals:
  // The cells (column and row numbers) whose preview or selection look changed.
  void previewChanged(const QRect& cells);
  void selectionChanged(const QRect& cells);
  void toolChosen(int index);

 private:
  LevelDocument& Document() override { return document_; }
  TileCode CurrentTile() const override { return currentTile_; }
  // Runs a tool event and announces how the preview changed.
  template <typename Event>
  void Run(Event&& event);

  LevelDocument& document_;
  const TileCode& currentTile_;
  std::vector<std::unique_ptr<Tool>> tools_;
  std::unique_ptr<Tool> keyBrush_;  // the brush the keys and the wheel paint with
  int active_ = 0;
  Tool* gesture_ = nullptr;  // the tool of the gesture under way
  bool pressed_ = false;     // the gesture has reached its first level cell
  bool dropped_ = false;     // the gesture was cancelled before the grid finished it
  CellPosition last_;
  QRect selection_;
};

}  // namespace tollwen
