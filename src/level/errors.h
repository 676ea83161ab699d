#pragma once

#include <memory>
#include <stdexcept>
#include <string>

#include "level/message.h"

namespace tollwen {

// Base of every error a command can raise. It carries the text shown to the user as a Message:
// what() is its English (the level tool prints that), and the window shows it translated.
class EditorError : public std::runtime_error {
 public:
  explicit EditorError(Message message);

  const Message& message() const { return *message_; }

 private:
  // Shared, so that copying the error (as throwing does) cannot fail.
  std::shared_ptr<const Message> message_;
};

// Input/output failure. The code follows the classic runtime-library numbering so that
// the message reads the same on every platform:
//   2 "File not found", 3 "Invalid filename", 4 "Too many open files",
//   5 "File access denied", 100 "Read beyond end of file", 101 "Disk full",
//   106 "Invalid numeric input", anything else "I/O error <code>".
class InOutError : public EditorError {
 public:
  explicit InOutError(int code);
  int code() const { return code_; }

  static Message MessageFor(int code);
  // Maps an errno value from the operating system onto the codes above.
  static int CodeForErrno(int err);
  static InOutError FromErrno(int err) { return InOutError(CodeForErrno(err)); }

 private:
  int code_;
};

// Memory for a picture or bitmap could not be had: "Out of memory".
class OutOfMemoryError : public EditorError {
 public:
  OutOfMemoryError();
};

// A number outside the range it must lie in: "Range check error".
class RangeCheckError : public EditorError {
 public:
  RangeCheckError();
};

// A file that could not be opened at all: "Cannot open file <path>".
class FileOpenError : public EditorError {
 public:
  explicit FileOpenError(const std::string& path);
};

// A save refused because the data file at `path` is no longer the file that was read or last
// written (its content, size, modification time or identity changed, or a file appeared where
// there was none). Nothing was written. what(): "The data file <path> changed on disk since it
// was opened."
class DataFileChangedError : public EditorError {
 public:
  explicit DataFileChangedError(const std::string& path);
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// A fatal libjpeg error: "JPEG error #<libjpeg message code>".
class JpegError : public EditorError {
 public:
  explicit JpegError(int messageCode);
  int messageCode() const { return messageCode_; }

 private:
  int messageCode_;
};

}  // namespace tollwen
