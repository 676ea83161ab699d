#pragma once

#include <functional>
#include <string>
#include <vector>

namespace tollwen {

// Gives the file at `path` the content `pieces` (written one after another; `afterPiece` runs
// after each with its index), so that the file stays what it was: its owner, group, permission
// bits, extended attributes (access-control lists included), hard links and symbolic links.
//
// Where it can, the content goes to a temporary file beside the file, created private (0600)
// and given the file's owner, mode and attributes, that replaces the file only once it is
// complete and flushed; a failure then leaves the old file as it was. Where such a replacement
// would change what the file is (a symbolic link, more than one hard link, a directory the user
// may not create files in, an owner or attribute that cannot be copied), the file is written in
// place through `path` as the kernel resolves it, after its old content has been kept so that a
// failed write puts it back. A new file is created like any other new file (0666 less the
// umask, the directory's default access-control list). Every step in the directory goes
// through one handle on it, so a directory renamed meanwhile cannot misdirect the clean-up.
// Our own temporary files left over from a save that was killed more than a day ago are
// removed from the directory on the way.
//
// Throws InOutError: an existing file that may not be written fails with "File access denied"
// even where the directory would allow replacing it, and anything but a regular file is
// refused.
void ReplaceFileContent(const std::string& path, const std::vector<std::string>& pieces,
                        const std::function<void(std::size_t)>& afterPiece);

}  // namespace tollwen
