#pragma once

#include <QPointF>
#include <QRect>
#include <Qt>
#include <QtGlobal>
#include <vector>

class QPainter;

#include "level/cell_change.h"

namespace tollwen {

class LevelDocument;

// How a tool shows in the Edit menu and over the grid.
struct ToolInfo {
  const char* name;  // menu text, with '&' before its accelerator; shown as TranslatedName gives it
  char key;          // the plain letter that chooses it
  // Draws the tool's sign, which the pointer shows beside its cross, into `box` (12 x 12
  // pixels) with the painter's pen.
  void (*drawSign)(QPainter& painter, const QRect& box);
};

// A gesture on the grid, from the press (or key step) that reached its first level cell to its
// release. The tool box keeps this one record of it and hands it to the tool with each event.
struct Gesture {
  CellPosition start;  // the first level cell it reached
  CellPosition cell;   // the level cell it has reached now
  // The level cells it reached, in order, none twice in a row.
  std::vector<CellPosition> passed;
  // The way the pointer went with this event, in level cells: cell (c, r) spans the points
  // c <= x < c + 1, r <= y < r + 1, and points beyond the level lie beyond them. A key step, or
  // a step towards a pointer held beyond the grid, goes nowhere from the middle of its cell.
  QPointF from;
  QPointF to;
  QRect startSelection;                              // the selected cells when it started
  Qt::KeyboardModifiers modifiers = Qt::NoModifier;  // held at the latest event
  int strokeKey = 0;  // a LevelDocument::Edit key that no other gesture uses
};

// What tools work on.
class ToolContext {
 public:
  virtual LevelDocument& Document() = 0;
  // The code the palette has chosen.
  virtual TileCode CurrentTile() const = 0;
  // The selected level cells (column and row numbers); empty when nothing is selected.
  virtual QRect Selection() const = 0;
  // Selects the level cells of `cells`; an empty rectangle selects nothing.
  virtual void Select(const QRect& cells) = 0;

 protected:
  ~ToolContext() = default;
};

// An editing tool. The tool box feeds it gestures over level cells: the first level cell a
// gesture reaches, each other one it reaches while the button or key is held, the release, or a
// cancel (Escape, another tool, the level closed) instead of the release. Each finished gesture
// is at most one step of the history.
class Tool {
 public:
  explicit Tool(ToolContext& context) : context_(context) {}
  virtual ~Tool() = default;
  Tool(const Tool&) = delete;
  Tool& operator=(const Tool&) = delete;

  virtual ToolInfo Info() const = 0;
  virtual void Press(const Gesture& gesture) = 0;
  virtual void Move(const Gesture& /*gesture*/) {}
  virtual void Release(const Gesture& /*gesture*/) {}
  virtual void Cancel(const Gesture& /*gesture*/) {}
  // A key or wheel step of the grid's current cell from `from` onto the level cell `to`,
  // outside any drag. True when the tool takes it; otherwise the keys' brush paints the cell.
  virtual bool Step(QPoint /*from*/, CellPosition /*to*/, Qt::KeyboardModifiers /*modifiers*/) {
    return false;
  }
  // The pointer rests over the level cell `cell` with no button held.
  virtual void Hover(CellPosition /*cell*/) {}

  // The codes the grid shows instead of the level's own while the tool has something to show.
  const CellChanges& Preview() const { return preview_; }
  // The block of cells a paste or a move is placing (column and row numbers), which may reach
  // beyond the level's edge, where it is cut off; empty when there is none.
  QRect Block() const { return block_; }

 protected:
  ToolContext& context_;
  CellChanges preview_;
  QRect block_;
};

}  // namespace tollwen
