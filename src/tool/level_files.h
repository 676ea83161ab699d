#pragma once

#include <string>
#include <vector>

namespace tollwen {

struct LevelFiles {
  std::vector<std::string> pictures;
  // One message for each path that is missing or cannot be read.
  std::vector<std::string> errors;
};

// The level pictures that `paths` name, in order: a file is taken as it is; a folder is
// searched through its subfolders (links to folders are not followed) for files whose name
// ends in ".jpg" in any case, sorted by path.
LevelFiles FindLevelPictures(const std::vector<std::string>& paths);

}  // namespace tollwen
