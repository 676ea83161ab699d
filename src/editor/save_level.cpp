#include "editor/busy_scope.h"
#include "editor/editor.h"
#include "level/data_file.h"

namespace tollwen {

namespace {

// Writes the level to the data path and confirms it; the window keeps repainting meanwhile.
void WriteLevel(WindowServices& window, const EditorState& state) {
  WriteDataFile(state.DataPath, state.MusicName, state.Grid,
                [&window] { window.ProcessPendingMessages(); });
  window.ShowMessage("File Saved!");
}

}  // namespace

void Editor::Save() {
  BusyScope busy(*this);
  // Cancelling the music question leaves the name empty; the level is saved all the same.
  if (state_.MusicName.empty()) SelectMusic();

  // Without an open level, or without a data path (New before any Open or Save As), there is
  // no file to write to yet: ask for one.
  if (!state_.LevelOpen || state_.DataPath.empty()) {
    SaveAs();
    return;
  }
  WriteLevel(window_, state_);
  history_.setClean();
}

void Editor::SaveAs() {
  BusyScope busy(*this);
  if (state_.MusicName.empty()) SelectMusic();

  const auto chosen = window_.AskSaveFile(state_.ResourceDir);
  if (!chosen) return;

  state_.DataPath = *chosen;
  WriteLevel(window_, state_);
  history_.setClean();
}

}  // namespace tollwen
