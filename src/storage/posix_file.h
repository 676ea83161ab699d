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

// Takes the result of a call whose failure is deliberately not an error (a clean-up after a
// failure that is already being reported, a flush that only makes a finished save durable).
inline void BestEffort(long /*result*/) {}

// Throws the InOutError that stands for the operating-system error `err`.
[[noreturn]] void ThrowInOutError(int err);

// open(2), retried when interrupted by a signal. When it fails, the descriptor returned is not
// open and errno tells why. A path with an embedded NUL fails with EINVAL: the system would
// take it to name the file of its first part.
FileDescriptor TryOpenFile(const std::string& path, int flags, mode_t mode = 0);

// TryOpenFile for `name` relative to the directory handle `directory` (openat(2)).
FileDescriptor TryOpenFileAt(int directory, const std::string& name, int flags, mode_t mode = 0);

// A handle on the directory that holds `path` (the current directory when it names none), so
// that later steps that name files relative to it all reach the same directory, even when it
// is renamed meanwhile. Throws InOutError.
FileDescriptor OpenDirectoryOf(const std::string& path);

// Whether TryOpenRegularFileAt follows a symbolic link in the name's last component.
enum class FollowLinks { kYes, kNo };

// Opens `name` (relative to `directory`) with `access` (O_RDONLY or O_RDWR) only when it is a
// regular file. That is decided on a handle that cannot have side effects (O_PATH) before the
// file is opened for reading or writing, and the file then opened is that very file (reopened
// through /proc/self/fd): a device, FIFO or socket is never opened, not even for a moment, and
// a name swapped meanwhile cannot lead elsewhere. When it fails, the descriptor is not open and
// errno tells why: EISDIR for a directory, EACCES for anything else that is not a regular file,
// ELOOP for a symbolic link with FollowLinks::kNo.
FileDescriptor TryOpenRegularFileAt(int directory, const std::string& name, int access,
                                    FollowLinks follow);

// Opens the file that `fd` refers to once more, with `flags` (through /proc/self/fd). When it
// fails, the descriptor is not open and errno tells why.
FileDescriptor TryReopen(int fd, int flags);

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

// ReadSome at `offset` (pread), leaving the file position alone.
std::size_t ReadSomeAt(int fd, char* buffer, std::size_t size, std::uint64_t offset);

// Reads the whole content of the file `fd` from its start. Throws InOutError.
std::string ReadWhole(int fd);

// Writes all of `data`, continuing after short writes. Throws InOutError when a write fails.
void WriteAll(int fd, std::string_view data);

// WriteAll at `offset` (pwrite), leaving the file position alone.
void WriteAllAt(int fd, std::string_view data, std::uint64_t offset);

// The target of the symbolic link `path`, however long. Throws InOutError when the link cannot
// be read.
std::string ReadSymlink(const std::string& path);

// ReadSymlink for `name` relative to the directory handle `directory`.
std::string ReadSymlinkAt(int directory, const std::string& name);

}  // namespace tollwen
