#include <optional>
#include <utility>

#include "editor/busy_scope.h"
#include "editor/editor.h"
#include "level/level_picture.h"
#include "level/path_parts.h"
#include "storage/data_file.h"
#include "storage/level_folder.h"
#include "storage/picture_file.h"

namespace tollwen {

void Editor::OpenLevel() {
  BusyScope busy(*this);
  if (!ConfirmDiscardChanges(UnsavedAction::OpenLevel)) return;
  if (!state_.ImageDirChosen) state_.PictureDialogDir = state_.ResourceDir;

  const auto picturePath = window_.AskPictureFile(state_.PictureDialogDir);
  if (!picturePath) return;
  RememberFolderOf(*picturePath);
  OpenLevelFile(*picturePath);
}

void Editor::OpenNeighbourLevel(int step) {
  BusyScope busy(*this);
  if (!level_.Editable() || level_.PicturePath().empty()) return;
  const std::optional<std::string> neighbour = NeighbourPicture(level_.PicturePath(), step);
  if (!neighbour || !ConfirmDiscardChanges(UnsavedAction::OpenLevel)) return;
  OpenLevelFile(*neighbour);
}

void Editor::OpenLevelFile(const std::string& picturePath) {
  BusyScope busy(*this);
  // Decoding errors end the command here, before anything has changed.
  std::optional<QImage> picture = LoadLevelPicture(picturePath);
  if (!picture) {
    window_.ShowMessage(kPictureSizeMessage);
    return;
  }

  const std::string dataPath = DataPathFor(picturePath);
  HideLevel();
  // From here on the previous level is gone; its history goes with it.
  level_.ClearHistory();
  state_.ImageDirChosen = true;
  // The checked picture is shown over the whole grid; the file is decoded only once.
  level_.LayPicture(picturePath, std::move(*picture));
  state_.PictureDialogDir = DirectoryOf(picturePath);

  LevelGrid grid;
  std::string musicName = level_.MusicName();
  DataFileStamp stamp;
  if (DataFileExists(dataPath)) {
    try {
      musicName = ReadDataFile(dataPath, grid, &stamp);
    } catch (...) {
      // No level stays open over rows that do not belong to this picture. The data path is
      // dropped as well, so neither Save nor a New followed by Save writes over the data file
      // that could not be read without the user choosing it in the save dialog.
      level_.SetDataPath(std::string());
      throw;
    }
  } else {
    // A blank level on the picture; nothing is written until the user saves. The music name
    // stays as it was.
    window_.ShowMessage("A valid datafile does not exist so one was created!");
  }
  level_.Start(grid, musicName, dataPath, stamp, LevelDisplay::kShown);
  OfferRecovery();
}

}  // namespace tollwen
