#include <QCoreApplication>

#include "editor/busy_scope.h"
#include "editor/editor.h"
#include "level/errors.h"
#include "storage/data_file.h"

namespace tollwen {

void Editor::WriteLevel(const std::string& path, const DataFileStamp* expected) {
  const DataFileStamp written = WriteDataFile(
      path, level_.MusicName(), level_.Grid(), [this] { window_.ProcessPendingMessages(); },
      expected);
  // Only a file actually written becomes the one Save writes from now on.
  level_.SetDataPath(path, written);
  level_.MarkSaved();
  recovery_.Forget();
  window_.ShowMessage(QCoreApplication::translate("tollwen::Editor", "File Saved!").toStdString());
}

void Editor::Save() {
  BusyScope busy(*this);
  // Cancelling the music question leaves the name empty; the level is saved all the same.
  if (level_.MusicName().empty()) SelectMusic();

  // Without a shown level, or without a data path (New before any Save As), there is no file
  // to write to yet: ask for one.
  if (!level_.Shown() || level_.DataPath().empty()) {
    SaveAs();
    return;
  }
  // The file that was read or last written, as it was then; anything else is asked about.
  const DataFileStamp expected = level_.DataStamp();
  // A data file deleted since (a checkout of a branch without it) is not written again unasked.
  if (expected.exists && !DataFileExists(level_.DataPath()) &&
      !window_.AskOverwrite(
          QCoreApplication::translate(
              "tollwen::Editor",
              "The data file %1 was deleted on disk since it was opened. Write it again?")
              .arg(QString::fromStdString(level_.DataPath()))
              .toStdString())) {
    return;
  }
  try {
    WriteLevel(level_.DataPath(), &expected);
  } catch (const DataFileChangedError& changed) {
    // "The data file ... changed on disk since it was opened. Overwrite it?"; a level restored
    // from a record that did not note its data file cannot tell, and says so.
    const QString question =
        expected.known
            ? QCoreApplication::translate("tollwen::Editor", "%1 Overwrite it?")
                  .arg(QString::fromStdString(changed.message().Translated()))
            : QCoreApplication::translate("tollwen::Editor",
                                          "The data file %1 may have changed on disk since these "
                                          "changes were made. Overwrite it?")
                  .arg(QString::fromStdString(changed.path()));
    // Cancel keeps the file on disk and the edits in the window.
    if (!window_.AskOverwrite(question.toStdString())) return;
    WriteLevel(level_.DataPath(), nullptr);
  }
}

void Editor::SaveAs() {
  BusyScope busy(*this);
  if (level_.MusicName().empty()) SelectMusic();

  // The dialog itself asks before replacing an existing file.
  const auto chosen = window_.AskSaveFile(FileDialogFolder());
  if (!chosen) return;
  RememberFolderOf(*chosen);
  WriteLevel(*chosen, nullptr);
}

}  // namespace tollwen
