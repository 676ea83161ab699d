#include "level/errors.h"

#include <cerrno>

namespace tollwen {

namespace {

// The codes that have a message of their own; an operating-system error must never be
// reported under one of them unless it really means that condition.
bool IsTableCode(int code) {
  switch (code) {
    case 2:
    case 3:
    case 4:
    case 5:
    case 100:
    case 101:
    case 106:
      return true;
    default:
      return false;
  }
}

// An errno value that happens to equal a table code but means something else is moved out
// of the table's range (all errno values are far below this offset).
constexpr int kCollidingErrnoOffset = 1000;

// The classic "device I/O error" code, so that a hardware read or write failure is not
// shown as "File access denied" (EIO is 5 on Linux).
constexpr int kDeviceIoErrorCode = 1117;

}  // namespace

InOutError::InOutError(int code) : EditorError(MessageFor(code)), code_(code) {}

std::string InOutError::MessageFor(int code) {
  switch (code) {
    case 2:
      return "File not found";
    case 3:
      return "Invalid filename";
    case 4:
      return "Too many open files";
    case 5:
      return "File access denied";
    case 100:
      return "Read beyond end of file";
    case 101:
      return "Disk full";
    case 106:
      return "Invalid numeric input";
    default:
      return "I/O error " + std::to_string(code);
  }
}

int InOutError::CodeForErrno(int err) {
  switch (err) {
    case ENOENT:
      return 2;
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
    case ELOOP:
      return 3;
    case EMFILE:
    case ENFILE:
      return 4;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
      return 5;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return 101;
    case EIO:
      return kDeviceIoErrorCode;
    default:
      return IsTableCode(err) ? kCollidingErrnoOffset + err : err;
  }
}

FileOpenError::FileOpenError(const std::string& path) : EditorError("Cannot open file " + path) {}

DataFileChangedError::DataFileChangedError(const std::string& path)
    : EditorError("The data file " + path + " changed on disk since it was opened."), path_(path) {}

JpegError::JpegError(int messageCode)
    : EditorError("JPEG error #" + std::to_string(messageCode)), messageCode_(messageCode) {}

}  // namespace tollwen
