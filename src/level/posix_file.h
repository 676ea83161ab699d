#pragma once

#include <sys/types.h>

#include <cstddef>
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

// open(2), retried when interrupted by a signal. Throws InOutError when it fails.
FileDescriptor OpenFile(const std::string& path, int flags, mode_t mode = 0);

// Throws InOutError ("File access denied") unless `fd` refers to a regular file: the editor
// must neither block on a FIFO nor read a device that never ends.
void RequireRegularFile(int fd);

// Reads up to `size` bytes, retried when interrupted. Returns 0 at the end of the file.
// Throws InOutError when the read fails.
std::size_t ReadSome(int fd, char* buffer, std::size_t size);

// Writes all of `data`, continuing after short writes. Throws InOutError when a write fails.
void WriteAll(int fd, std::string_view data);

// The directory part of `path` including its final '/', or "" for a bare file name.
std::string DirectoryPrefix(const std::string& path);

// The part of `path` after its last '/'.
std::string BaseName(const std::string& path);

}  // namespace tollwen
