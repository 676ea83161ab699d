#include "tool/level_files.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <string_view>

#include "level/path_parts.h"
#include "storage/data_file.h"
#include "storage/file_status.h"
#include "storage/folder_entries.h"
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

class FolderSearch {
 public:
  explicit FolderSearch(std::vector<FoundFile>& found) : found_(found) {}

  // Searches `folder` and its subfolders. Returns 0, or the errno value of a `folder` that
  // itself cannot be read.
  int Search(const std::string& folder) {
    const std::size_t first = found_.size();
    nameStart_ = Prefix(folder).size();
    if (const int error = SearchFolder(folder); error != 0) return error;
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
    return 0;
  }

 private:
  // Returns 0, or the errno value of a `folder` that cannot be opened. One that fails partway
  // is noted as unreadable after what was read of it.
  int SearchFolder(const std::string& folder) {
    const FolderEntries entries = ListFolder(folder);
    if (entries.openError != 0) return entries.openError;
    const std::string prefix = Prefix(folder);
    for (const std::string& name : entries.names) Take(prefix + name, name);
    if (entries.readError != 0) Unreadable(folder, "folder", entries.readError);
    return 0;
  }

  // One entry of a folder: a subfolder is searched, a picture or data file noted.
  void Take(const std::string& path, const std::string& name) {
    FileStatus status = StatusOf(path, FollowLinks::kNo);
    if (status.error != 0) return Unreadable(path, "file", status.error);
    if (status.kind == FileStatus::Kind::kFolder) {
      if (const int error = SearchFolder(path); error != 0) Unreadable(path, "folder", error);
      return;
    }
    const bool picture = IsLevelPictureName(name);
    if (!picture && !IsDataFileName(name)) return;
    // Links to files are followed, as the editor's file dialog follows them.
    if (status.kind == FileStatus::Kind::kLink) {
      status = StatusOf(path, FollowLinks::kYes);
      if (status.error != 0) {
        if (picture) Unreadable(path, "picture", status.error);
        return;
      }
    }
    if (status.kind == FileStatus::Kind::kFolder) return;
    if (picture) {
      // A picture that is not a regular file (a FIFO, a device) is checked too: the editor
      // refuses it, and the check says so.
      found_.push_back({FoundFile::Kind::kPicture, path, {}, nameStart_});
    } else if (status.kind == FileStatus::Kind::kRegularFile) {
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
    const FileStatus status = StatusOf(path, FollowLinks::kYes);
    if (status.error != 0) {
      files.errors.push_back(CannotRead(path, status.error));
    } else if (status.kind == FileStatus::Kind::kFolder) {
      if (const int error = search.Search(path); error != 0) {
        files.errors.push_back(CannotRead(path, error));
      }
    } else if (const int error = ReadAccessError(path); error != 0) {
      files.errors.push_back(CannotRead(path, error));
    } else {
      files.found.push_back({FoundFile::Kind::kPicture, path, {}});
    }
  }
  return files;
}

}  // namespace tollwen
