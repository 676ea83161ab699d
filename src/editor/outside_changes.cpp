// Changes other programs make to the level's data file (a checkout, a pull, another editor):
// taken in at once when nothing is lost, asked about when the level has unsaved changes.
#include <QCoreApplication>

#include "editor/busy_scope.h"
#include "editor/editor.h"
#include "level/errors.h"
#include "level/path_parts.h"
#include "storage/data_file.h"

namespace tollwen {

namespace {

// Whether the data file holds what `held` says it held: the same bytes, reached the same way.
// Its time, and which file it is, may differ (a touch, a rewrite with the same content). A stamp
// that is not known says nothing.
bool SameContent(const DataFileStamp& onDisk, const DataFileStamp& held) {
  return held.known && onDisk.exists == held.exists && onDisk.size == held.size &&
         onDisk.contentHash == held.contentHash && onDisk.viaLink == held.viaLink &&
         onDisk.linkTarget == held.linkTarget;
}

// What the user is told or asked about the data file: `text` (marked in the editor's context)
// with the file's name for %1 and the other `parts` after it.
template <typename... Parts>
std::string AboutDataFile(const char* text, const std::string& name, const Parts&... parts) {
  return QCoreApplication::translate("tollwen::Editor", text)
      .arg(QString::fromStdString(name), QString::fromStdString(parts)...)
      .toStdString();
}

// The data file changed into something that cannot be read.
std::string UnreadableNote(const std::string& name, const EditorError& error) {
  return AboutDataFile(
      QT_TRANSLATE_NOOP("tollwen::Editor", "%1 changed on disk and cannot be read: %2"), name,
      error.message().Translated());
}

}  // namespace

void Editor::TakeInOutsideChange(bool mayAsk) {
  BusyScope busy(*this);
  if (!level_.Editable() || level_.DataPath().empty()) return;
  const std::string path = level_.DataPath();
  const std::string name = FileNameOf(path);
  DataFileStamp onDisk;
  try {
    onDisk = StampOfPath(path);
  } catch (const EditorError& error) {
    window_.ShowNote(UnreadableNote(name, error));
    return;
  }
  if (SameContent(onDisk, level_.DataStamp())) {
    // Nothing the level depends on changed; Save need not ask about it.
    if (!(onDisk == level_.DataStamp())) level_.SetDataPath(path, onDisk);
    return;
  }
  // Told or asked about already: a kept level stays kept until the file changes again.
  if (onDisk == outsideChangeSeen_) return;
  if (!onDisk.exists) {
    // Save asks before writing it again.
    outsideChangeSeen_ = onDisk;
    window_.ShowNote(
        AboutDataFile(QT_TRANSLATE_NOOP("tollwen::Editor", "%1 was deleted on disk"), name));
    return;
  }
  const bool modified = level_.Modified();
  if (modified && !mayAsk) return;
  outsideChangeSeen_ = onDisk;
  // Keep leaves the level's stamp as it is, so Save asks before writing over the file.
  if (modified && !window_.AskReload(AboutDataFile(
                      QT_TRANSLATE_NOOP("tollwen::Editor",
                                        "The data file %1 changed on disk. Reload it and "
                                        "lose your changes?"),
                      path))) {
    return;
  }
  ReloadDataFile(!modified);
}

void Editor::ReloadDataFile(bool note) {
  const std::string path = level_.DataPath();
  const std::string name = FileNameOf(path);
  LevelGrid grid;
  DataFileStamp stamp;
  std::string musicName;
  try {
    musicName = ReadDataFile(path, grid, &stamp);
  } catch (const EditorError& error) {
    window_.ShowNote(UnreadableNote(name, error));
    return;
  }
  // The level is what the file holds now; its history starts again.
  tools_.CancelGesture();
  level_.Start(grid, musicName, path, stamp, LevelDisplay::kShown);
  recovery_.Forget();
  if (note) {
    window_.ShowNote(AboutDataFile(
        QT_TRANSLATE_NOOP("tollwen::Editor", "%1 changed on disk and was reloaded"), name));
  }
}

}  // namespace tollwen
