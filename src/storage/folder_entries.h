#pragma once

#include <string>
#include <vector>

namespace tollwen {

// The names in a folder, as far as it could be read.
struct FolderEntries {
  // 0, or the errno value of a folder that could not be opened; nothing is listed then.
  int openError = 0;
  // The names other than "." and "..", in the order the system gives them.
  std::vector<std::string> names;
  // 0, or the errno value of a read that failed partway; `names` holds those read before.
  int readError = 0;
};

// Lists the folder at `path`.
FolderEntries ListFolder(const std::string& path);

}  // namespace tollwen
