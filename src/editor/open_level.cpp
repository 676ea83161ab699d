#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>

#include "editor/busy_scope.h"
#include "editor/editor.h"
#include "level/data_file.h"
#include "level/level_picture.h"
#include "level/path_parts.h"

namespace tollwen {

namespace {

// A regular file (or a link to one); a directory of that name does not count.
bool RegularFileExists(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(std::filesystem::path(path), error);
}

}  // namespace

void Editor::OpenLevel() {
  BusyScope busy(*this);
  if (!ConfirmDiscardChanges(UnsavedAction::OpenLevel)) return;
  if (!state_.ImageDirChosen) state_.PictureDialogDir = state_.ResourceDir;

  const auto picturePath = window_.AskPictureFile(state_.PictureDialogDir);
  if (!picturePath) return;
  OpenLevelFile(*picturePath);
}

void Editor::OpenLevelFile(const std::string& picturePath) {
  BusyScope busy(*this);
  // Decoding errors end the command here, before anything has changed.
  std::optional<QImage> picture = LoadLevelPicture(picturePath);
  if (!picture) {
    window_.ShowMessage(kPictureSizeMessage);
    return;
  }

  state_.DataPath = DataPathFor(picturePath);
  CloseLevel();
  // From here on the previous level is gone; its history goes with it.
  StartHistory();
  state_.ImageDirChosen = true;
  // The checked picture becomes the background; the file is decoded only once.
  state_.Background = std::move(*picture);
  state_.PictureDialogDir = DirectoryOf(picturePath);
  window_.SetGridEnabled(true);
  window_.DrawPictureOnGrid();
  state_.LevelOpen = true;

  if (RegularFileExists(state_.DataPath)) {
    try {
      // The grid only changes once the whole file has been read.
      state_.MusicName = ReadDataFile(state_.DataPath, state_.Grid);
    } catch (...) {
      // No level stays open over rows that do not belong to this picture. DataPath is
      // dropped as well, so neither Save nor a New followed by Save writes over the data
      // file that could not be read without the user choosing it in the save dialog.
      state_.DataPath.clear();
      CloseLevel();
      throw;
    }
  } else {
    // A blank level on the picture; nothing is written until the user saves. The music name
    // stays as it was.
    state_.Grid.ResetToBlank();
    window_.ShowMessage("A valid datafile does not exist so one was created!");
  }

  window_.RepaintGrid();
}

}  // namespace tollwen
