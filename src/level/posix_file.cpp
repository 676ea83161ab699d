#include "level/posix_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "level/errors.h"

namespace tollwen {

FileDescriptor::~FileDescriptor() { Close(); }

FileDescriptor::FileDescriptor(FileDescriptor&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)) {}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

int FileDescriptor::Close() {
  if (fd_ < 0) return 0;
  // The descriptor is released even when close reports an error; retrying could close a
  // descriptor that another open has reused in the meantime.
  const int result = ::close(std::exchange(fd_, -1));
  return result == 0 ? 0 : errno;
}

void ThrowInOutError(int err) { throw InOutError::FromErrno(err); }

FileDescriptor TryOpenFile(const std::string& path, int flags, mode_t mode) {
  return TryOpenFileAt(AT_FDCWD, path, flags, mode);
}

FileDescriptor TryOpenFileAt(int directory, const std::string& name, int flags, mode_t mode) {
  if (name.find('\0') != std::string::npos) {
    errno = EINVAL;
    return FileDescriptor();
  }
  int fd;
  do {
    fd = ::openat(directory, name.c_str(), flags, mode);
  } while (fd < 0 && errno == EINTR);
  return FileDescriptor(fd);
}

FileDescriptor OpenFile(const std::string& path, int flags, mode_t mode) {
  FileDescriptor file = TryOpenFile(path, flags, mode);
  if (!file.IsOpen()) ThrowInOutError(errno);
  return file;
}

ReadableFile OpenForReading(const std::string& path) {
  ReadableFile opened{TryOpenFile(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)};
  struct stat status {};
  if (!opened.file.IsOpen() || ::fstat(opened.file.get(), &status) != 0 ||
      !S_ISREG(status.st_mode)) {
    throw FileOpenError(path);
  }
  opened.size = static_cast<std::uint64_t>(status.st_size);
  return opened;
}

void RequireRegularFile(int fd) {
  struct stat status {};
  if (::fstat(fd, &status) != 0) ThrowInOutError(errno);
  if (S_ISDIR(status.st_mode)) ThrowInOutError(EISDIR);
  if (!S_ISREG(status.st_mode)) ThrowInOutError(EACCES);
}

std::size_t ReadSome(int fd, char* buffer, std::size_t size) {
  ssize_t count;
  do {
    count = ::read(fd, buffer, size);
  } while (count < 0 && errno == EINTR);
  if (count < 0) ThrowInOutError(errno);
  return static_cast<std::size_t>(count);
}

void WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t count = ::write(fd, data.data(), data.size());
    if (count < 0) {
      if (errno == EINTR) continue;
      ThrowInOutError(errno);
    }
    // A write that stores nothing without an error would loop forever; report it as the
    // full disk it almost certainly is.
    if (count == 0) ThrowInOutError(ENOSPC);
    data.remove_prefix(static_cast<std::size_t>(count));
  }
}

std::string ReadSymlink(const std::string& path) {
  std::string target(256, '\0');
  for (;;) {
    const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
    if (length < 0) ThrowInOutError(errno);
    if (static_cast<std::size_t>(length) < target.size()) {
      target.resize(static_cast<std::size_t>(length));
      return target;
    }
    // The target may have been cut to fit: read it again with more room.
    target.resize(target.size() * 2);
  }
}

}  // namespace tollwen
