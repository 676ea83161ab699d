#include "level/errors.h"

#include <cerrno>
#include <utility>

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

EditorError::EditorError(Message message)
    : std::runtime_error(message.English()),
      message_(std::make_shared<const Message>(std::move(message))) {}

InOutError::InOutError(int code) : EditorError(MessageFor(code)), code_(code) {}

Message InOutError::MessageFor(int code) {
  switch (code) {
    case 2:
      return Message(QT_TRANSLATE_NOOP("tollwen::Message", "File not found"));
    case 3:
      return Message(QT_TRANSLATE_NOOP("tollwen::Message", "Invalid filename"));
    case 4:
      return Message(QT_TRANSLATE_NOOP("tollwen::Message", "Too many open files"));
    case 5:
      return Message(QT_TRANSLATE_NOOP("tollwen::Message", "File access denied"));
    case 100:
      return Message(QT_TRANSLATE_NOOP("tollwen::Message", "Read beyond end of file"));
    case 101:
      return Message(QT_TRANSLATE_NOOP("tollwen::Message", "Disk full"));
    case 106:
      return Message(QT_TRANSLATE_NOOP("tollwen::Message", "Invalid numeric input"));
    default:
      return Message(QT_TRANSLATE_NOOP("tollwen::Message", "I/O error %1"),
                     {Message::Verbatim(std::to_string(code))});
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

OutOfMemoryError::OutOfMemoryError()
    : EditorError(Message(QT_TRANSLATE_NOOP("tollwen::Message", "Out of memory"))) {}

RangeCheckError::RangeCheckError()
    : EditorError(Message(QT_TRANSLATE_NOOP("tollwen::Message", "Range check error"))) {}

FileOpenError::FileOpenError(const std::string& path)
    : EditorError(Message(QT_TRANSLATE_NOOP("tollwen::Message", "Cannot open file %1"),
                          {Message::Verbatim(path)})) {}

DataFileChangedError::DataFileChangedError(const std::string& path)
    : EditorError(
          Message(QT_TRANSLATE_NOOP("tollwen::Message",
                                    "The data file %1 changed on disk since it was opened."),
                  {Message::Verbatim(path)})),
      path_(path) {}

JpegError::JpegError(int messageCode)
    : EditorError(Message(QT_TRANSLATE_NOOP("tollwen::Message", "JPEG error #%1"),
                          {Message::Verbatim(std::to_string(messageCode))})),
      messageCode_(messageCode) {}

}  // namespace tollwen
