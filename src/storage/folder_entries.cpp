#include "storage/folder_entries.h"

#include <dirent.h>

#include <cerrno>
#include <memory>

namespace tollwen {

namespace {

// Closes a directory stream when it goes out of scope.
struct DirectoryCloser {
  void operator()(DIR* directory) const { ::closedir(directory); }
};

}  // namespace

FolderEntries ListFolder(const std::string& path) {
  FolderEntries entries;
  const std::unique_ptr<DIR, DirectoryCloser> directory(::opendir(path.c_str()));
  if (!directory) {
    entries.openError = errno;
    return entries;
  }
  for (;;) {
    // readdir tells the end of the folder from a failed read only by errno.
    errno = 0;
    const dirent* entry = ::readdir(directory.get());
    if (entry == nullptr) {
      entries.readError = errno;
      return entries;
    }
    const std::string name = entry->d_name;
    if (name != "." && name != "..") entries.names.push_back(name);
  }
}

}  // namespace tollwen
