#pragma once

#include <optional>
#include <string>

#include "editor/data_file_watcher.h"
#include "editor/editor_state.h"
#include "editor/level_document.h"
#include "editor/recovery_keeper.h"
#include "editor/tools/tool_box.h"
#include "editor/window_services.h"

namespace tollwen {

struct SelectionTurn;

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
  // folder, in natural order, as Open does, naming the file in its messages. After an open that
  // failed it counts from the picture that could not be opened, so a bad picture is stepped
  // past. At either end of the folder it says so in a note; without a level it does nothing.
  void OpenNeighbourLevel(int step);
  void OpenNextLevel() { OpenNeighbourLevel(1); }
  void OpenPreviousLevel() { OpenNeighbourLevel(-1); }
  void Save();
  void SaveAs();
  void SelectMusic();
  void RefreshDisplay();
  void ChooseTile(TileCode code);
  // Unsaved changes that ended sessions left for the open level (the newest first, the others
  // after it until one is restored), or the most recent ones of any level at start-up: asks
  // whether to restore them, once the level is shown.
  void OfferRecovery();
  void OfferNewestRecovery();
  // The editor ends cleanly: nothing unsaved is left to recover.
  void EndSession() { recovery_.Forget(); }
  RecoveryKeeper& Recovery() { return recovery_; }

  // Takes in a change that another program made to the level's data file: a level without
  // unsaved changes is read again, with a note; with unsaved changes the user is asked whether
  // to reload, when `mayAsk` (the window is active), else at a later call. A deleted data file
  // is noted. A file that still holds what the level was read from or saved as changes nothing.
  void TakeInOutsideChange(bool mayAsk);
  // Reports when the level's data file may have changed on disk.
  DataFileWatcher& Watcher() { return watcher_; }

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
  // Turns the selected cells over or round in one step, named as the turn is; the turned block
  // keeps the selection's top-left cell and is the selection afterwards.
  void TurnSelection(const SelectionTurn& turn);

  void Undo();
  void Redo();
  bool Modified() const { return level_.Modified(); }
  // Before a modified level would be lost: asks whether to save it first. False when the
  // user cancelled, or chose Save and the level was not saved (cancelled or failed). Changes
  // the user chose to discard stay, with their recovery record, until another level replaces
  // them or the level is closed.
  bool ConfirmDiscardChanges(UnsavedAction action);

  // The level display stops: a cell could not be drawn. Later paints show plain cells and
  // Save asks for a file, until New or Open shows a level again.
  void StopLevelDisplay();

  // True while a command runs. The window keeps user input away meanwhile, so no command
  // starts inside another one while a long loop lets the window repaint.
  bool Busy() const { return busy_ > 0; }

 private:
  class BusyScope;

  // Opens the picture as OpenLevelFile does; with `nameFailedFile`, a picture or data file that
  // cannot be used is named in the message, for an open whose file the user did not pick.
  void OpenLevelFile(const std::string& picturePath, bool nameFailedFile);
  // Hides the level without asking; its history and its recovery record go with it.
  void DropLevel();
  // A command runs, or a drag or a held key is under way: the level may be half-way through a
  // change.
  bool CommandOrGestureUnderWay() const { return Busy() || tools_.GestureUnderWay(); }
  // Reads the level's data file again, as Open reads it, saying so in a note when `note` (the
  // user did not ask for it); a file it refuses leaves the level as it is, with a note.
  void ReloadDataFile(bool note);
  // Asks about the record and acts on the answer, which it returns.
  RestoreAnswer OfferRecord(const StoredRecord& record);
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
  DataFileWatcher watcher_;
  // What the data file was when the user was last told or asked about a change to it (or when
  // a level was restored whose record did not note it): only a change from there is news.
  std::optional<DataFileStamp> outsideChangeSeen_;
  // The picture the last open tried and could not open, which Next and Previous Level count
  // from; empty once a level is opened, closed or started.
  std::string failedPicture_;
  int busy_ = 0;
};

}  // namespace tollwen
