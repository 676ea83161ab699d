#include "tool/level_files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "level/path_parts.h"

namespace tollwen {

namespace {

namespace fs = std::filesystem;

std::string CannotRead(const std::string& path, int err) {
  return "cannot read " + path + ": " + std::strerror(err);
}

void SearchFolder(const std::string& folder, LevelFiles& found) {
  std::vector<std::string> pictures;
  std::error_code error;
  // A failing step is one into the entry seen last (a subfolder that cannot be read).
  std::string last = folder;
  for (fs::recursive_directory_iterator it(folder, error);
       !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
    last = it->path().native();
    std::error_code ignored;
    if (IsLevelPictureName(it->path().filename().native()) && it->is_regular_file(ignored)) {
      pictures.push_back(last);
    }
  }
  if (error) {
    found.errors.push_back(CannotRead(last, error.value()));
    return;
  }
  std::sort(pictures.begin(), pictures.end());
  found.pictures.insert(found.pictures.end(), pictures.begin(), pictures.end());
}

}  // namespace

LevelFiles FindLevelPictures(const std::vector<std::string>& paths) {
  LevelFiles found;
  for (const std::string& path : paths) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
      found.errors.push_back(CannotRead(path, errno));
    } else if (S_ISDIR(status.st_mode)) {
      SearchFolder(path, found);
    } else if (::access(path.c_str(), R_OK) != 0) {
      found.errors.push_back(CannotRead(path, errno));
    } else {
      found.pictures.push_back(path);
    }
  }
  return found;
}

}  // namespace tollwen
