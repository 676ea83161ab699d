// Unsaved changes an earlier session left behind (a crash, a kill, a power cut): the question
// whether to restore them, and the restore itself.
#include <QDateTime>

#include "editor/busy_scope.h"
#include "editor/editor.h"
#include "level/errors.h"
#include "level/path_parts.h"
#include "storage/data_file.h"

namespace tollwen {

namespace {

// "Unsaved changes to level3.jpg from 2026-12-09 14:03 were found. Restore them?"
std::string RestoreQuestion(const RecoveredLevel& record) {
  const std::string picture = FileNameOf(record.picturePath);
  std::string level = picture;
  if (record.dataPath.empty())
    level = picture.empty() ? "a new level" : "a new level on " + picture;
  const std::string time = QDateTime::fromSecsSinceEpoch(record.savedAt)
                               .toString(QStringLiteral("yyyy-MM-dd HH:mm"))
                               .toStdString();
  return "Unsaved changes to " + level + " from " + time + " were found. Restore them?";
}

// What the data file is now, so that Save asks before writing over a file that changes later.
DataFileStamp CurrentStamp(const std::string& dataPath) {
  DataFileStamp stamp;
  if (dataPath.empty()) return stamp;
  try {
    LevelGrid ignored;
    ReadDataFile(dataPath, ignored, &stamp);
  } catch (const EditorError&) {
    // Unreadable or missing: Save will tell.
  }
  return stamp;
}

}  // namespace

void Editor::OfferRecovery() {
  BusyScope busy(*this);
  if (const auto record = recovery_.LeftBehind(level_.PicturePath())) OfferRecord(*record);
}

void Editor::OfferNewestRecovery() {
  BusyScope busy(*this);
  const auto record = recovery_.NewestLeftBehind();
  if (!record) return;
  // A level on a picture is opened as Open opens it, and asked about once it is shown.
  if (!record->picturePath.empty()) return OpenLevelFile(record->picturePath);
  OfferRecord(*record);
}

void Editor::OfferRecord(const RecoveredLevel& record) {
  switch (window_.AskRestore(RestoreQuestion(record))) {
    case RestoreAnswer::Restore:
      tools_.Select(QRect());
      level_.Start(record.grid, record.musicName, record.dataPath, CurrentStamp(record.dataPath),
                   LevelDisplay::kShown);
      // The restored level is what the user had; its history starts here, and it is unsaved.
      level_.MarkUnsaved();
      recovery_.Adopt(record);
      break;
    case RestoreAnswer::Discard:
      recovery_.Discard(record);
      break;
    case RestoreAnswer::Later:
      recovery_.KeepForLater(record);
      break;
  }
}

}  // namespace tollwen
