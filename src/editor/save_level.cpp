#include "editor/busy_scope.h"
#include "editor/editor.h"
#include "level/data_file.h"

namespace tollwen {

namespace {

// Writes the level to its data path and confirms it; the window keeps repainting meanwhile.
void WriteLevel(WindowServices& window, LevelDocument& level) {
  WriteDataFile(level.DataPath(), level.MusicName(), level.Grid(),
                [&window] { window.ProcessPendingMessages(); });
  level.MarkSaved();
  window.ShowMessage("File Saved!");
}

}  // namespace

void Editor::Save() {
  BusyScope busy(*this);
  // Cancelling the music question leaves the name empty; the level is saved all the same.
  if (level_.MusicName().empty()) SelectMusic();

  // Without a shown level, or without a data path (New before any Open or Save As), there is
  // no file to write to yet: ask for one.
  if (!level_.Shown() || level_.DataPath().empty()) {
    SaveAs();
    return;
  }
  WriteLevel(window_, level_);
}

void Editor::SaveAs() {
  BusyScope busy(*this);
  if (level_.MusicName().empty()) SelectMusic();

  const auto chosen = window_.AskSaveFile(state_.ResourceDir);
  if (!chosen) return;

  level_.SetDataPath(*chosen);
  WriteLevel(window_, level_);
}

}  // namespace tollwen
