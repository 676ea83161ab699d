#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tollwen {

// Owns a POSIX file descriptor and closes it when it goes out of scope.
class FileDescriptor {
 public:
  FileDescriptor() = default;
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor();
  FileDescriptor(FileDescriptor&& other) noexcept;
  FileDescriptor& operator=(FileDescriptor&& other) noexcept;
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  int get() const { return fd_; }
  bool IsOpen() const { return fd_ >= 0; }

  // Closes the descriptor now and returns 0 or the errno value of a failed close: a delayed
  // write error (NFS, a full disk) may only show up here, so writers must look at it.
  int Close();

 private:
  int fd_ = -1;
};

// Throws the InOutError that stands for the operating-system error `err`.
[[noreturn]] void ThrowInOutError(int err);

// open(2), retried when interrupted by a signal. When it fails, the descriptor returned is not
// open and errno tells why. A path with an embedded NUL fails with EINVAL: the system would
// take it to name the file of its first part.
FileDescriptor TryOpenFile(const std::string& path, int flags, mode_t mode = 0);

// TryOpenFile for `name` relative to the directory handle `directory` (openat(2)).
FileDescriptor TryOpenFileAt(int directory, const std::string& name, int flags, mode_t mode = 0);

// TryOpenFile that throws InOutError when the open fails.
FileDescriptor OpenFile(const std::string& path, int flags, mode_t mode = 0);

// Throws InOutError ("File access denied") unless `fd` refers to a regular file: the editor
// must neither block on a FIFO nor read a device that never ends.
void RequireRegularFile(int fd);

// A regular file opened for reading, with the size it had when opened.
struct ReadableFile {
  FileDescriptor file;
  std::uint64_t size = 0;
};

// Opens `path` for reading when it names a regular file. It is opened without blocking, so a
// FIFO cannot hang the editor waiting for a writer. Anything that cannot be opened or is not a
// regular file (a directory, FIFO, device; a path with an embedded NUL, which would name
// another file to the system) fails with FileOpenError, "Cannot open file <path>".
ReadableFile OpenForReading(const std::string& path);

// Reads up to `size` bytes, retried when interrupted. Returns 0 at the end of the file.
// Throws InOutError when the read fails.
std::size_t ReadSome(int fd, char* buffer, std::size_t size);

// Writes all of `data`, continuing after short writes. Throws InOutError when a write fails.
void WriteAll(int fd, std::string_view data);

// The target of the symbolic link `path`, however long. Throws InOutError when the link cannot
// be read.
std::string ReadSymlink(const std::string& path);

}  // namespace tollwen
