#include "storage/file_status.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace tollwen {

namespace {

FileStatus::Kind KindOf(mode_t mode) {
  using Kind = FileStatus::Kind;
  if (S_ISREG(mode)) return Kind::kRegularFile;
  if (S_ISDIR(mode)) return Kind::kFolder;
  if (S_ISLNK(mode)) return Kind::kLink;
  if (S_ISFIFO(mode)) return Kind::kFifo;
  if (S_ISCHR(mode) || S_ISBLK(mode)) return Kind::kDevice;
  if (S_ISSOCK(mode)) return Kind::kSocket;
  return Kind::kOther;
}

}  // namespace

FileStatus StatusOf(const std::string& path, FollowLinks follow) {
  struct stat status {};
  const int result =
      follow == FollowLinks::kYes ? ::stat(path.c_str(), &status) : ::lstat(path.c_str(), &status);
  FileStatus file;
  if (result != 0) {
    file.error = errno;
  } else {
    file.kind = KindOf(status.st_mode);
    file.file = FileIdentity::Of(status);
  }
  return file;
}

int ReadAccessError(const std::string& path) {
  return ::access(path.c_str(), R_OK) == 0 ? 0 : errno;
}

}  // namespace tollwen
