#pragma once

#include <QUndoStack>
#include <string>
#include <vector>

#include "editor/editor_state.h"
#include "editor/window_services.h"

namespace tollwen {

struct CellEdit;

// What the user is about to do when a modified level would be lost.
enum class UnsavedAction { NewLevel, OpenLevel, Exit };

// The editor's commands. Each runs to completion; errors (EditorError) propagate to the
// caller, which shows them, and leave the steps already done in place.
class Editor {
 public:
  // The editor start: the resource directory (with a trailing separator) and the initial state.
  Editor(WindowServices& window, std::string resourceDir);

  EditorState& State() { return state_; }
  const EditorState& State() const { return state_; }

  void NewLevel();
  void OpenLevel();
  // Opens the picture at `picturePath` as Open does once the user has picked it: no dialog
  // and no question about unsaved changes.
  void OpenLevelFile(const std::string& picturePath);
  void CloseLevel();
  void Save();
  void SaveAs();
  void SelectMusic();
  void RefreshDisplay();
  // Paints the current tile into the cell (column 1..19, row 1..13) as one undoable step, or
  // as part of the open stroke's step.
  void PaintCell(int column, int row);
  // Everything painted between these two calls is one step of the history.
  void BeginStroke();
  void EndStroke();
  void ChooseTile(TileCode code);
  // Lets the user pick a new arrow colour and recolours the tile and marker bitmaps.
  void ChooseArrowColour();

  // The history of edits: paint strokes and music choices. New and Open start it afresh.
  QUndoStack& History() { return history_; }
  void Undo();
  void Redo();
  // The level differs from what was last read or written.
  bool Modified() const { return !history_.isClean(); }
  // Before a modified level would be lost: asks whether to save it first. False when the
  // user cancelled, or chose Save and the level was not saved (cancelled or failed).
  bool ConfirmDiscardChanges(UnsavedAction action);

  // The level display stops: a cell could not be drawn. Later paints show plain cells and
  // Save asks for a file, until New or Open shows a level again.
  void StopLevelDisplay() { state_.LevelOpen = false; }

  // Writes the edits' `after` codes into the grid and announces the changed cells. Undo
  // commands use it.
  void ApplyCellEdits(const std::vector<CellEdit>& edits);

  // True while a command runs. The window keeps user input away meanwhile, so no command
  // starts inside another one while a long loop lets the window repaint.
  bool Busy() const { return busy_ > 0; }

 private:
  class BusyScope;

  // Ends the history: the level on screen is the one last read or written.
  void StartHistory();

  WindowServices& window_;
  EditorState state_;
  QUndoStack history_;
  // Paints with the same stroke number merge into one step; 0 while no stroke is open.
  int stroke_ = 0;
  int lastStroke_ = 0;
  int busy_ = 0;
};

}  // namespace tollwen
