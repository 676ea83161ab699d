#pragma once

#include <string>

#include "editor/editor_state.h"
#include "editor/window_services.h"

namespace tollwen {

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
  void CloseLevel();
  void Save();
  void SaveAs();
  void SelectMusic();
  void RefreshDisplay();
  // column 1..19, row 1..13
  void PaintCell(int column, int row);
  void ChooseTile(TileCode code);
  // Lets the user pick a new arrow colour and recolours the tile and marker bitmaps.
  void ChooseArrowColour();

  // True while a command runs. The window keeps user input away meanwhile, so no command
  // starts inside another one while a long loop lets the window repaint.
  bool Busy() const { return busy_ > 0; }

 private:
  class BusyScope;

  WindowServices& window_;
  EditorState state_;
  int busy_ = 0;
};

}  // namespace tollwen
