#pragma once

#include <string>

#include "editor/editor_state.h"
#include "editor/level_document.h"
#include "editor/recovery_keeper.h"
#include "editor/tools/tool_box.h"
#include "editor/window_services.h"
#include "level/cell_block.h"

namespace tollwen {

// What the user is about to do when a modified level would be lost.
enum class UnsavedAction { NewLevel, OpenLevel, CloseLevel, Exit };

// The editor's commands over the level document. Each runs to completion; errors
// (EditorError) propagate to the caller, which shows them, and leave the steps already done in
// place.
class Editor {
 public:
  // The editor start: the resource directory (with a trailing separator) and the initial state.
  Editor(WindowServices& window, std::string resourceDir);

  EditorState& State() { return state_; }
  const EditorState& State() const { return state_; }
  LevelDocument& Level() { return level_; }
  const LevelDocument& Level() const { return level_; }
  ToolBox& Tools() { return tools_; }

  void NewLevel();
  void OpenLevel();
  // Opens the picture at `picturePath` as Open does once the user has picked it: no dialog
  // and no question about unsaved changes.
  void OpenLevelFile(const std::string& picturePath);
  // Asks about unsaved changes first; the level's history goes with it.
  void CloseLevel();
  // Opens the picture `step` places after the open one (before it for a negative step) in its
  // folder, in natural order, as Open does; nothing at either end or without an open level.
  void OpenNeighbourLevel(int step);
  void OpenNextLevel() { OpenNeighbourLevel(1); }
  void OpenPreviousLevel() { OpenNeighbourLevel(-1); }
  void Save();
  void SaveAs();
  void SelectMusic();
  void RefreshDisplay();
  void ChooseTile(TileCode code);
  // Unsaved changes that an earlier session left for the open level, or the most recent ones
  // of any level at start-up: asks whether to restore them, once the level is shown.
  void OfferRecovery();
  void OfferNewestRecovery();
  // The editor ends cleanly: nothing unsaved is left to recover.
  void EndSession() { recovery_.Forget(); }
  RecoveryKeeper& Recovery() { return recovery_; }

  // Makes the tile in level cell (column, row) the current tile; paints nothing.
  void PickTile(int column, int row);
  // Lets the user pick a new arrow colour and recolours the tile and marker bitmaps.
  void ChooseArrowColour();

  // The clipboard: the selected cells as text (one line per row), cut (copied, then emptied),
  // emptied, and text shown as a paste that follows the pointer (at `currentCell` while the
  // pointer is elsewhere) until a click or Return places it. Text that is not rows of tile
  // codes, or longer than a whole level's, is refused with a message. While no level is shown
  // nothing is selected, and none of them does anything.
  void Copy();
  void Cut();
  void DeleteSelection();
  void Paste(CellPosition currentCell);
  void SelectAll();
  // Turns the selected cells over or round in one step (kSelectionTurns names them); the turned
  // block keeps the selection's top-left cell and is the selection afterwards.
  void TurnSelection(BlockTurn turn);

  void Undo();
  void Redo();
  bool Modified() const { return level_.Modified(); }
  // Before a modified level would be lost: asks whether to save it first. False when the
  // user cancelled, or chose Save and the level was not saved (cancelled or failed).
  bool ConfirmDiscardChanges(UnsavedAction action);

  // The level display stops: a cell could not be drawn. Later paints show plain cells and
  // Save asks for a file, until New or Open shows a level again.
  void StopLevelDisplay();

  // True while a command runs. The window keeps user input away meanwhile, so no command
  // starts inside another one while a long loop lets the window repaint.
  bool Busy() const { return busy_ > 0; }

 private:
  class BusyScope;

  // Hides the level without asking.
  void HideLevel();
  // Asks about the record and acts on the answer.
  void OfferRecord(const RecoveredLevel& record);
  // Where Save As and Select Music start: the open level's folder, else the folder of the file
  // chosen last, else the home folder.
  std::string FileDialogFolder() const;
  // The file `chosen` was picked in a dialog: its folder is the one used last.
  void RememberFolderOf(const std::string& chosen);
  // Writes the level to `path`, refusing when the file is no longer `expected` (nullptr: write
  // whatever is there), confirms it and makes it the level's data file.
  void WriteLevel(const std::string& path, const DataFileStamp* expected);

  WindowServices& window_;
  EditorState state_;
  LevelDocument level_;
  ToolBox tools_;
  RecoveryKeeper recovery_;
  int busy_ = 0;
};

}  // namespace tollwen
