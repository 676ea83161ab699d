#include "storage/data_file_stamp.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "level/path_parts.h"
#include "storage/posix_file.h"

namespace tollwen {

namespace {

constexpr std::uint64_t kHashOffset = 14695981039346656037u;
constexpr std::uint64_t kHashPrime = 1099511628211u;
constexpr std::uint64_t kHashedBytes = std::uint64_t{16} << 20;

std::uint64_t AddToHash(std::uint64_t hash, std::string_view bytes) {
  for (const char byte : bytes) {
    hash ^= static_cast<unsigned char>(byte);
    hash *= kHashPrime;
  }
  return hash;
}

}  // namespace

FileIdentity FileIdentity::Of(const struct stat& status) {
  return {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
}

PathEntry ReadPathEntry(int directory, const std::string& name) {
  PathEntry entry;
  struct stat status {};
  if (::fstatat(directory, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
    if (errno != ENOENT) ThrowInOutError(errno);
    return entry;
  }
  if (!S_ISLNK(status.st_mode)) {
    entry.kind = PathEntry::Kind::kOther;
    return entry;
  }
  entry.kind = PathEntry::Kind::kLink;
  entry.link = FileIdentity::Of(status);
  entry.linkTarget = ReadSymlinkAt(directory, name);
  return entry;
}

std::uint64_t ContentHash(std::string_view bytes) { return AddToHash(kHashOffset, bytes); }

DataFileStamp StampOf(const struct stat& status, const PathEntry& entry,
                      std::uint64_t contentHash) {
  DataFileStamp stamp;
  stamp.exists = true;
  stamp.file = FileIdentity::Of(status);
  stamp.size = static_cast<std::uint64_t>(status.st_size);
  stamp.modifiedSeconds = status.st_mtim.tv_sec;
  stamp.modifiedNanoseconds = status.st_mtim.tv_nsec;
  stamp.contentHash = contentHash;
  stamp.viaLink = entry.kind == PathEntry::Kind::kLink;
  if (stamp.viaLink) {
    stamp.link = entry.link;
    stamp.linkTarget = entry.linkTarget;
  }
  return stamp;
}

DataFileStamp StampOfOpenFile(int fd, const PathEntry& entry) {
  struct stat status {};
  if (::fstat(fd, &status) != 0) ThrowInOutError(errno);
  std::uint64_t hash = kHashOffset;
  std::vector<char> buffer(64 * 1024);
  for (std::uint64_t offset = 0; offset < kHashedBytes;) {
    const auto wanted =
        static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), kHashedBytes - offset));
    const std::size_t got = ReadSomeAt(fd, buffer.data(), wanted, offset);
    if (got == 0) break;
    hash = AddToHash(hash, std::string_view(buffer.data(), got));
    offset += got;
  }
  return StampOf(status, entry, hash);
}

DataFileStamp StampOfPath(const std::string& path) {
  const std::string folder = DirectoryOf(path);
  const FileDescriptor directory =
      TryOpenFile(folder.empty() ? "." : folder, O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (!directory.IsOpen()) {
    if (errno == ENOENT || errno == ENOTDIR) return {};
    ThrowInOutError(errno);
  }
  const std::string name = FileNameOf(path);
  const PathEntry entry = ReadPathEntry(directory.get(), name);
  if (entry.kind == PathEntry::Kind::kAbsent) return {};
  const FileDescriptor file =
      TryOpenRegularFileAt(directory.get(), name, O_RDONLY, FollowLinks::kYes);
  if (!file.IsOpen()) {
    // A symbolic link whose file is gone.
    if (errno == ENOENT) return {};
    ThrowInOutError(errno);
  }
  return StampOfOpenFile(file.get(), entry);
}

}  // namespace tollwen
