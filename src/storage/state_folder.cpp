#include "storage/state_folder.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "level/errors.h"
#include "level/path_parts.h"

namespace tollwen {

namespace {

constexpr const char* kFolderName = "tollwen-level-editor";
constexpr mode_t kFolderMode = 0700;

std::string HomeFromUserDatabase() {
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 ||
      found == nullptr || found->pw_dir == nullptr) {
    return {};
  }
  return found->pw_dir;
}

bool IsAbsolute(const char* path) { return path != nullptr && path[0] == '/'; }

// The folder itself, never where a symbolic link in its place points: in a shared state home
// another user may have put one there.
FileDescriptor OpenFolderItself(const std::string& folder) {
  std::string path = folder;
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return TryOpenFile(path, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

}  // namespace

std::string StateFolderFor(const char* stateHome, const char* home) {
  std::string base;
  if (IsAbsolute(stateHome)) {
    base = WithTrailingSeparator(stateHome);
  } else if (IsAbsolute(home)) {
    base = WithTrailingSeparator(home) + ".local/state/";
  } else {
    return {};
  }
  return base + kFolderName + "/";
}

std::string StateFolder() {
  const char* home = std::getenv("HOME");
  std::string fromDatabase;
  if (!IsAbsolute(home)) {
    fromDatabase = HomeFromUserDatabase();
    home = fromDatabase.c_str();
  }
  return StateFolderFor(std::getenv("XDG_STATE_HOME"), home);
}

FileDescriptor TryOpenPrivateFolder(const std::string& folder) {
  FileDescriptor opened = OpenFolderItself(folder);
  struct stat status {};
  if (opened.IsOpen() && (::fstat(opened.get(), &status) != 0 || status.st_uid != ::geteuid()))
    return FileDescriptor();
  return opened;
}

FileDescriptor OpenPrivateFolder(const std::string& folder) {
  if (folder.empty()) ThrowInOutError(ENOENT);
  for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
    const std::string part = folder.substr(0, slash);
    if (!part.empty() && part.back() != '/') {
      if (::mkdir(part.c_str(), kFolderMode) == 0) {
        // The umask may have taken bits that the folder's owner needs to go on.
        if (::chmod(part.c_str(), kFolderMode) != 0) ThrowInOutError(errno);
      } else if (errno != EEXIST) {
        ThrowInOutError(errno);
      }
    }
    if (slash == std::string::npos) break;
  }
  FileDescriptor opened = OpenFolderItself(folder);
  if (!opened.IsOpen()) ThrowInOutError(errno == ELOOP || errno == ENOTDIR ? EACCES : errno);
  struct stat status {};
  if (::fstat(opened.get(), &status) != 0) ThrowInOutError(errno);
  if (status.st_uid != ::geteuid()) ThrowInOutError(EACCES);
  if ((status.st_mode & 07777) != kFolderMode && ::fchmod(opened.get(), kFolderMode) != 0) {
    ThrowInOutError(errno);
  }
  return opened;
}

std::string ExecutableDirectory(const std::string& selfLink) {
  try {
    return DirectoryOf(ReadSymlink(selfLink));
  } catch (const InOutError&) {
    return {};
  }
}

}  // namespace tollwen
