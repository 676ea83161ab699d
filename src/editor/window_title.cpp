#include "editor/window_title.h"

#include "level/path_parts.h"
#include "storage/data_file.h"

namespace tollwen {

namespace {

constexpr const char* kProgram = "Tollwen Level Editor";
constexpr const char* kDash = " \u2014 ";

}  // namespace

std::string WindowTitle(bool levelOpen, const std::string& picturePath, const std::string& dataPath,
                        const std::string& musicName) {
  if (!levelOpen) return kProgram;
  const std::string picture = FileNameOf(picturePath);
  std::string level;
  if (dataPath.empty()) {
    level = picture.empty() ? "New level" : "New level on " + picture;
  } else if (picture.empty() || dataPath != DataPathFor(picturePath)) {
    level = (picture.empty() ? "" : picture + " \u2192 ") + FileNameOf(dataPath);
  } else {
    level = picture;
  }
  const std::string music = musicName.empty() ? "no music" : musicName;
  return level + "[*]" + kDash + music + kDash + kProgram;
}

}  // namespace tollwen
