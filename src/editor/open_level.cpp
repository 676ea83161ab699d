#include <QCoreApplication>
#include <optional>
#include <string>
#include <utility>

#include "editor/busy_scope.h"
#include "editor/editor.h"
#include "level/errors.h"
#include "level/level_picture.h"
#include "level/path_parts.h"
#include "storage/data_file.h"
#include "storage/level_folder.h"
#include "storage/picture_file.h"

namespace tollwen {

namespace {

// `text`, said of the file at `path`: with the file's name first when `named`.
Message AboutFile(bool named, const std::string& path, Message text) {
  if (!named) return text;
  return Message(QT_TRANSLATE_NOOP("tollwen::Message", "%1: %2"),
                 {Message::Verbatim(FileNameOf(path)), std::move(text)});
}

// Runs `step`; when `named`, an error it raises names the file at `path` first
// ("level2.jpg: JPEG error #53").
template <typename Step>
auto Naming(bool named, const std::string& path, Step step) {
  try {
    return step();
  } catch (const EditorError& error) {
    if (!named) throw;
    throw EditorError(AboutFile(true, path, error.message()));
  }
}

}  // namespace

void Editor::OpenLevel() {
  BusyScope busy(*this);
  if (!ConfirmDiscardChanges(UnsavedAction::OpenLevel)) return;
  // Until a picture has been opened the dialog starts where Save As would: the folder used
  // last, else the home folder (the program's own folder holds no levels once installed).
  if (!state_.ImageDirChosen) state_.PictureDialogDir = FileDialogFolder();

  const auto picturePath = window_.AskPictureFile(state_.PictureDialogDir);
  if (!picturePath) return;
  RememberFolderOf(*picturePath);
  OpenLevelFile(*picturePath);
}

void Editor::OpenNeighbourLevel(int step) {
  BusyScope busy(*this);
  std::string from = failedPicture_;
  if (from.empty() && level_.Editable()) from = level_.PicturePath();
  if (from.empty()) return;
  const std::optional<std::string> neighbour = NeighbourPicture(from, step);
  if (!neighbour) {
    window_.ShowNote(
        (step > 0 ? QCoreApplication::translate("tollwen::Editor", "Last level of this folder")
                  : QCoreApplication::translate("tollwen::Editor", "First level of this folder"))
            .toStdString());
    return;
  }
  if (!ConfirmDiscardChanges(UnsavedAction::OpenLevel)) return;
  OpenLevelFile(*neighbour, true);
}

void Editor::OpenLevelFile(const std::string& picturePath) { OpenLevelFile(picturePath, false); }

void Editor::OpenLevelFile(const std::string& picturePath, bool nameFailedFile) {
  BusyScope busy(*this);
  // Until the level is shown, this is the picture Next and Previous Level go on from.
  failedPicture_ = picturePath;
  // Decoding errors end the command here, before anything has changed.
  std::optional<QImage> picture =
      Naming(nameFailedFile, picturePath, [&] { return LoadLevelPicture(picturePath); });
  if (!picture) {
    window_.ShowMessage(
        AboutFile(nameFailedFile, picturePath, Message(kPictureSizeMessage)).Translated());
    return;
  }

  const std::string dataPath = DataPathFor(picturePath);
  // From here on the previous level is gone, with its history and any changes the user chose
  // to discard.
  DropLevel();
  state_.ImageDirChosen = true;
  // The checked picture is shown over the whole grid; the file is decoded only once.
  level_.LayPicture(picturePath, std::move(*picture));
  state_.PictureDialogDir = DirectoryOf(picturePath);

  LevelGrid grid;
  std::string musicName = level_.MusicName();
  DataFileStamp stamp;
  if (DataFileExists(dataPath)) {
    try {
      musicName =
          Naming(nameFailedFile, dataPath, [&] { return ReadDataFile(dataPath, grid, &stamp); });
    } catch (...) {
      // No level stays open over rows that do not belong to this picture, and the grid shows
      // what Close leaves: plain cells, the picture no longer laid over them. The data path is
      // dropped as well, so neither Save nor a New followed by Save writes over the data file
      // that could not be read without the user choosing it in the save dialog.
      level_.SetDataPath(std::string());
      level_.SetDisplay(LevelDisplay::kClosed);
      throw;
    }
  } else {
    // A blank level on the picture; nothing is written until the user saves. The music name
    // stays as it was.
    window_.ShowMessage(
        QCoreApplication::translate("tollwen::Editor",
                                    "A valid datafile does not exist so one was created!")
            .toStdString());
  }
  level_.Start(grid, musicName, dataPath, stamp, LevelDisplay::kShown);
  failedPicture_.clear();
  OfferRecovery();
}

}  // namespace tollwen
