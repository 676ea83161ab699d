#include "editor/busy_scope.h"
#include "editor/editor.h"
#include "level/data_file.h"

namespace tollwen {

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
  WriteDataFile(state_.DataPath, state_.MusicName, state_.Grid,
                [this] { window_.ProcessPendingMessages(); });
  window_.ShowMessage("File Saved!");
}

void Editor::SaveAs() {
  BusyScope busy(*this);
  if (state_.MusicName.empty()) SelectMusic();

  const auto chosen = window_.AskSaveFile(state_.ResourceDir);
  if (!chosen) return;

  state_.DataPath = *chosen;
  WriteDataFile(state_.DataPath, state_.MusicName, state_.Grid,
                [this] { window_.ProcessPendingMessages(); });
  window_.ShowMessage("File Saved!");
}

}  // namespace tollwen
