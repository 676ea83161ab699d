#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace tollwen {

// Which file a name leads to: its device and inode number.
struct FileIdentity {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;

  static FileIdentity Of(const struct stat& status);
  friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// What the last component of a path is: nothing, a symbolic link (its own identity and the text
// it points to) or anything else (a regular file, a directory, ...).
struct PathEntry {
  enum class Kind { kAbsent, kLink, kOther };
  Kind kind = Kind::kAbsent;
  FileIdentity link;
  std::string linkTarget;

  friend bool operator==(const PathEntry&, const PathEntry&) = default;
};

// Looks at `name` in the directory handle `directory` without following it. Throws InOutError
// when it cannot be looked at.
PathEntry ReadPathEntry(int directory, const std::string& name);

// What the data file at a path was when the editor last read or wrote it, so that a save can
// tell whether somebody else changed it meanwhile: whether there was a file at all, which file
// it was (and, when the path is a symbolic link, which link pointing where), its size,
// modification time and a hash of its content.
struct DataFileStamp {
  bool exists = false;
  FileIdentity file;
  std::uint64_t size = 0;
  std::int64_t modifiedSeconds = 0;
  std::int64_t modifiedNanoseconds = 0;
  std::uint64_t contentHash = 0;
  // The path was a symbolic link, `link` its identity and `linkTarget` its text.
  bool viaLink = false;
  FileIdentity link;
  std::string linkTarget;
  // False for a stamp of a file nothing is known of (see Unknown).
  bool known = true;

  // The stamp of a level whose data file was not noted (one kept by the editor's earlier
  // version): it matches no file, so a save asks before it writes over any file there.
  static DataFileStamp Unknown() {
    DataFileStamp stamp;
    stamp.known = false;
    return stamp;
  }

  friend bool operator==(const DataFileStamp&, const DataFileStamp&) = default;
};

// A 64-bit hash of `bytes` (FNV-1a): tells changed content from the same content.
std::uint64_t ContentHash(std::string_view bytes);

// The stamp of a file with `status`, reached through `entry`, whose content hashes to
// `contentHash`.
DataFileStamp StampOf(const struct stat& status, const PathEntry& entry, std::uint64_t contentHash);

// The stamp of the regular file open as `fd`, reached through `entry`. The hash covers the
// first 16 MiB, more than any data file holds (size and time cover the rest). Throws
// InOutError.
DataFileStamp StampOfOpenFile(int fd, const PathEntry& entry);

// The stamp of what is at `path` now (`exists` false when nothing is there, not even its folder),
// read without locks and without putting back an interrupted save, so that looking never waits
// and never writes. Throws InOutError when the file cannot be read.
DataFileStamp StampOfPath(const std::string& path);

}  // namespace tollwen
