#pragma once

#include <string>

#include "storage/data_file_stamp.h"
#include "storage/posix_file.h"

namespace tollwen {

// What a path names, as one look at it tells, without opening it.
struct FileStatus {
  enum class Kind { kRegularFile, kFolder, kLink, kFifo, kDevice, kSocket, kOther };
  // 0, or the errno value of a look that failed; nothing else is known then.
  int error = 0;
  Kind kind = Kind::kOther;
  FileIdentity file;
};

// Looks at `path` (stat(2)), or at a symbolic link itself with FollowLinks::kNo (lstat(2)).
FileStatus StatusOf(const std::string& path, FollowLinks follow);

// 0 when this user may read `path`, or the errno value that tells why not (access(2)).
int ReadAccessError(const std::string& path);

}  // namespace tollwen
