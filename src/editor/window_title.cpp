#include "editor/window_title.h"

#include <QCoreApplication>

#include "level/path_parts.h"
#include "storage/data_file.h"

namespace tollwen {

namespace {

// The program's name, the same in every language.
constexpr const char* kProgram = "Tollwen Level Editor";
constexpr const char* kDash = " \u2014 ";

QString Translated(const char* text) {
  return QCoreApplication::translate("tollwen::Editor", text);
}

}  // namespace

std::string WindowTitle(bool levelOpen, const std::string& picturePath, const std::string& dataPath,
                        const std::string& musicName) {
  if (!levelOpen) return kProgram;
  const std::string picture = FileNameOf(picturePath);
  std::string level;
  if (dataPath.empty()) {
    level = picture.empty()
                ? Translated(QT_TRANSLATE_NOOP("tollwen::Editor", "New level")).toStdString()
                : Translated(QT_TRANSLATE_NOOP("tollwen::Editor", "New level on %1"))
                      .arg(QString::fromStdString(picture))
                      .toStdString();
  } else if (picture.empty() || dataPath != DataPathFor(picturePath)) {
    level = (picture.empty() ? "" : picture + " \u2192 ") + FileNameOf(dataPath);
  } else {
    level = picture;
  }
  const std::string music =
      musicName.empty() ? Translated(QT_TRANSLATE_NOOP("tollwen::Editor", "no music")).toStdString()
                        : musicName;
  return level + "[*]" + kDash + music + kDash + kProgram;
}

}  // namespace tollwen
