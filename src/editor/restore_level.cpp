// Unsaved changes an earlier session left behind (a crash, a kill, a power cut): the question
// whether to restore them, and the restore itself.
#include <QCoreApplication>
#include <QDateTime>

#include "editor/busy_scope.h"
#include "editor/editor.h"
#include "level/data_file_format.h"
#include "level/errors.h"
#include "level/path_parts.h"
#include "storage/data_file_stamp.h"

namespace tollwen {

namespace {

QDateTime LocalTime(std::int64_t seconds) { return QDateTime::fromSecsSinceEpoch(seconds); }

// What the data file is now, looked at without waiting on a lock or writing anything; nothing
// there when it is missing or cannot be read.
DataFileStamp CurrentStamp(const std::string& dataPath) {
  if (dataPath.empty()) return {};
  try {
    return StampOfPath(dataPath);
  } catch (const EditorError&) {
    return {};  // unreadable: Save will tell
  }
}

// "Unsaved changes to level3.jpg from 2026-12-09 14:03 were found. Restore them?", naming the
// data file when it is not the picture's own, and saying when the data file (`now`) changed
// after the changes were kept: "The data file was saved at 15:02, after these changes."
std::string RestoreQuestion(const RecoveredLevel& record, const DataFileStamp& now) {
  // Each text is marked in the editor's context where it is written.
  const auto text = [](const char* source) {
    return QCoreApplication::translate("tollwen::Editor", source);
  };
  const QString picture = QString::fromStdString(FileNameOf(record.picturePath));
  const QString dataPath = QString::fromStdString(record.dataPath);
  QString level = picture;
  if (record.dataPath.empty()) {
    level = picture.isEmpty()
                ? text(QT_TRANSLATE_NOOP("tollwen::Editor", "a new level"))
                : text(QT_TRANSLATE_NOOP("tollwen::Editor", "a new level on %1")).arg(picture);
  } else if (record.picturePath.empty() || DataPathFor(record.picturePath) != record.dataPath) {
    level = picture.isEmpty()
                ? text(QT_TRANSLATE_NOOP("tollwen::Editor", "the data file %1")).arg(dataPath)
                : text(QT_TRANSLATE_NOOP("tollwen::Editor", "%1 (data file %2)"))
                      .arg(picture, dataPath);
  }
  const QDateTime kept = LocalTime(record.savedAt);
  QString question =
      text(QT_TRANSLATE_NOOP("tollwen::Editor",
                             "Unsaved changes to %1 from %2 were found. Restore them?"))
          .arg(level, kept.toString(QStringLiteral("yyyy-MM-dd HH:mm")));
  // A record that did not note its data file cannot tell whether the file changed after it.
  if (record.dataStamp.known && now.exists && !(now == record.dataStamp)) {
    const QDateTime saved = LocalTime(now.modifiedSeconds);
    const QString format =
        saved.date() == kept.date() ? QStringLiteral("HH:mm") : QStringLiteral("yyyy-MM-dd HH:mm");
    question += QLatin1Char(' ') +
                text(QT_TRANSLATE_NOOP("tollwen::Editor",
                                       "The data file was saved at %1, after these changes."))
                    .arg(saved.toString(format));
  }
  return question.toStdString();
}

}  // namespace

void Editor::OfferRecovery() {
  BusyScope busy(*this);
  // The newest first; once one is restored, the others stay for a later start.
  for (const StoredRecord& record : recovery_.LeftBehind(level_.PicturePath())) {
    if (OfferRecord(record) == RestoreAnswer::Restore) return;
  }
}

void Editor::OfferNewestRecovery() {
  BusyScope busy(*this);
  const std::optional<StoredRecord> record = recovery_.NewestLeftBehind();
  if (!record) return;
  // A level on a picture is opened as Open opens it, and asked about once it is shown.
  if (!record->level.picturePath.empty()) return OpenLevelFile(record->level.picturePath);
  OfferRecovery();
}

RestoreAnswer Editor::OfferRecord(const StoredRecord& record) {
  const RecoveredLevel& level = record.level;
  const DataFileStamp now = CurrentStamp(level.dataPath);
  const RestoreAnswer answer = window_.AskRestore(RestoreQuestion(level, now));
  switch (answer) {
    case RestoreAnswer::Restore:
      tools_.Select(QRect());
      // The level keeps the data file it was based on: a Save then asks before writing over a
      // data file that changed since.
      level_.Start(level.grid, level.musicName, level.dataPath, level.dataStamp,
                   LevelDisplay::kShown);
      // The restored level is what the user had; its history starts here, and it is unsaved.
      level_.MarkUnsaved();
      // Without a note of the data file, Save asks before writing over whatever file is there;
      // a change to the file is news only from now on.
      if (!level.dataStamp.known) outsideChangeSeen_ = now;
      recovery_.Adopt(record);
      break;
    case RestoreAnswer::Discard:
      recovery_.Discard(record);
      break;
    case RestoreAnswer::Later:
      // The record stays as it is for a later start; this session's changes go to its own.
      break;
  }
  return answer;
}

}  // namespace tollwen
