#include "tool/level_files.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <set>
#include <string_view>

#include "level/path_parts.h"
#include "storage/data_file.h"
#include "storage/level_folder.h"
#include "tool/shown_name.h"

namespace tollwen {

namespace {

// A data file's name: it ends in ".dat" in any case.
bool IsDataFileName(const std::string& name) {
  constexpr std::string_view kSuffix = ".dat";
  if (name.size() < kSuffix.size()) return false;
  return std::equal(name.end() - static_cast<std::ptrdiff_t>(kSuffix.size()), name.end(),
                    kSuffix.begin(),
                    [](char a, char b) { return (a >= 'A' && a <= 'Z' ? a + 32 : a) == b; });
}

std::string CannotRead(const std::string& path, int err) {
  return "cannot read " + ShownName(path) + ": " + std::strerror(err);
}

// Closes a directory stream when it goes out of scope.
struct DirectoryCloser {
  void operator()(DIR* directory) const { ::closedir(directory); }
};

class FolderSearch {
 public:
  explicit FolderSearch(std::vector<FoundFile>& found) : found_(found) {}

  // Searches `folder` and its subfolders. False, with errno set, when `folder` itself cannot
  // be read.
  bool Search(const std::string& folder) {
    const std::size_t first = found_.size();
    nameStart_ = Prefix(folder).size();
    if (!SearchFolder(folder)) return false;
    std::set<std::string> paired;
    for (std::size_t i = first; i < found_.size(); ++i) {
      if (found_[i].kind == FoundFile::Kind::kPicture) paired.insert(DataPathFor(found_[i].path));
    }
    for (const std::string& dataFile : dataFiles_) {
      if (!paired.contains(dataFile)) {
        found_.push_back({FoundFile::Kind::kUnpairedDataFile, dataFile, {}, nameStart_});
      }
    }
    dataFiles_.clear();
    std::sort(found_.begin() + static_cast<std::ptrdiff_t>(first), found_.end(),
              [](const FoundFile& a, const FoundFile& b) { return NaturalLess(a.path, b.path); });
    return true;
  }

 private:
  bool SearchFolder(const std::string& folder) {
    const std::unique_ptr<DIR, DirectoryCloser> directory(::opendir(folder.c_str()));
    if (!directory) return false;
    const std::string prefix = Prefix(folder);
    for (;;) {
      errno = 0;
      const dirent* entry = ::readdir(directory.get());
      if (entry == nullptr) {
        if (errno != 0) Unreadable(folder, "folder", errno);
        return true;
      }
      const std::string name = entry->d_name;
      if (name == "." || name == "..") continue;
      const std::string path = prefix + name;
      Take(path, name);
    }
  }

  // One entry of a folder: a subfolder is searched, a picture or data file noted.
  void Take(const std::string& path, const std::string& name) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) return Unreadable(path, "file", errno);
    if (S_ISDIR(status.st_mode)) {
      if (!SearchFolder(path)) Unreadable(path, "folder", errno);
      return;
    }
    const bool picture = IsLevelPictureName(name);
    if (!picture && !IsDataFileName(name)) return;
    // Links to files are followed, as the editor's file dialog follows them.
    if (S_ISLNK(status.st_mode) && ::stat(path.c_str(), &status) != 0) {
      if (picture) Unreadable(path, "picture", errno);
      return;
    }
    if (S_ISDIR(status.st_mode)) return;
    if (picture) {
      // A picture that is not a regular file (a FIFO, a device) is checked too: the editor
      // refuses it, and the check says so.
      found_.push_back({FoundFile::Kind::kPicture, path, {}, nameStart_});
    } else if (S_ISREG(status.st_mode)) {
      dataFiles_.push_back(path);
    }
  }

  void Unreadable(const std::string& path, const char* what, int err) {
    found_.push_back({FoundFile::Kind::kUnreadable, path,
                      std::string("cannot read this ") + what + ": " + std::strerror(err),
                      nameStart_});
  }

  // The folder's path as the start of the paths inside it.
  static std::string Prefix(const std::string& folder) {
    return folder.ends_with('/') ? folder : folder + "/";
  }

  std::vector<FoundFile>& found_;
  std::size_t nameStart_ = 0;
  std::vector<std::string> dataFiles_;
};

}  // namespace

std::vector<std::string> LevelFiles::Pictures() const {
  std::vector<std::string> pictures;
  for (const FoundFile& file : found) {
    if (file.kind == FoundFile::Kind::kPicture) pictures.push_back(file.path);
  }
  return pictures;
}

int LevelFiles::PictureCount() const {
  return static_cast<int>(std::count_if(found.begin(), found.end(), [](const FoundFile& file) {
    return file.kind == FoundFile::Kind::kPicture;
  }));
}

LevelFiles FindLevelFiles(const std::vector<std::string>& paths) {
  LevelFiles files;
  FolderSearch search(files.found);
  for (const std::string& path : paths) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
      files.errors.push_back(CannotRead(path, errno));
    } else if (S_ISDIR(status.st_mode)) {
      if (!search.Search(path)) files.errors.push_back(CannotRead(path, errno));
    } else if (::access(path.c_str(), R_OK) != 0) {
      files.errors.push_back(CannotRead(path, errno));
    } else {
      files.found.push_back({FoundFile::Kind::kPicture, path, {}});
    }
  }
  return files;
}

}  // namespace tollwen
