#pragma once

#include <QRect>
#include <Qt>

class QPainter;

#include "level/cell_change.h"

namespace tollwen {

class LevelDocument;

// How a tool shows in the Edit menu and over the grid.
struct ToolInfo {
  const char* name;  // menu text, with '&' before its accelerator
  char key;          // the plain letter that chooses it
  // Draws the tool's sign, which the pointer shows beside its cross, into `box` (12 x 12
  // pixels) with the painter's pen.
  void (*drawSign)(QPainter& painter, const QRect& box);
};

// A level cell a gesture reached, with the keyboard modifiers held at that moment.
struct ToolEvent {
  CellPosition cell;
  Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

// What tools work on.
class ToolContext {
 public:
  virtual LevelDocument& Document() = 0;
  // The code the palette has chosen.
  virtual TileCode CurrentTile() const = 0;
  // Selects the level cells of `cells` (column and row numbers); an empty rectangle selects
  // nothing.
  virtual void Select(const QRect& cells) = 0;

 protected:
  ~ToolContext() = default;
};

// An editing tool. The grid feeds it gestures over level cells: a press, the cells the
// pointer enters while the button is held, the release, or a cancel (Escape) instead of the
// release. Each finished gesture is at most one step of the history.
class Tool {
 public:
  explicit Tool(ToolContext& context) : context_(context) {}
  virtual ~Tool() = default;
  Tool(const Tool&) = delete;
  Tool& operator=(const Tool&) = delete;

  virtual ToolInfo Info() const = 0;
  virtual void Press(const ToolEvent& event) = 0;
  virtual void Move(const ToolEvent& /*event*/) {}
  virtual void Release(const ToolEvent& /*event*/) {}
  virtual void Cancel() {}

  // The codes the grid shows instead of the level's own while a gesture is under way.
  const CellChanges& Preview() const { return preview_; }

 protected:
  ToolContext& context_;
  CellChanges preview_;
};

}  // namespace tollwen
