#include "level/path_parts.h"

#include <unistd.h>

namespace tollwen {

std::string DirectoryOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string FileNameOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string WithTrailingSeparator(std::string dir) {
  if (!dir.empty() && dir.back() != '/') dir.push_back('/');
  return dir;
}

std::string ExecutableDirectory(const std::string& selfLink) {
  std::string target(256, '\0');
  for (;;) {
    const ssize_t length = ::readlink(selfLink.c_str(), target.data(), target.size());
    if (length <= 0) return {};
    if (static_cast<std::size_t>(length) < target.size()) {
      target.resize(static_cast<std::size_t>(length));
      return DirectoryOf(target);
    }
    // The name may have been cut to fit: read it again with more room.
    target.resize(target.size() * 2);
  }
}

}  // namespace tollwen
