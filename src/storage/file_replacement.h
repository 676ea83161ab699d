#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "storage/data_file_stamp.h"

namespace tollwen {

// Gives the file at `path` the content `pieces` (written one after another; `afterPiece` runs
// after each with its index), so that the file stays what it was: its owner, group, permission
// bits, extended attributes (access-control lists included), hard links and symbolic links.
// Returns the stamp of what was written.
//
// Only the file meant is written. With `expected` (the stamp from the last read or write), the
// file at `path` must still be that file, unchanged; otherwise nothing is written and
// DataFileChangedError is thrown. A file deleted since is written anew. The file finally
// written or renamed over is checked to be the one compared (on its open descriptor, and by an
// atomic exchange with the new file). Without `expected` any file there is overwritten. A
// device, FIFO or socket is never opened.
//
// Where it can, the content goes to a temporary file beside the file, created private (0600)
// and given the file's owner, mode and attributes, that replaces the file only once it is
// complete and flushed. Where such a replacement would change what the file is (a symbolic
// link, more than one hard link, a directory the user may not create files in, an owner or
// attribute that may not be copied), the file is written in place, crash-safe through a journal
// (see WriteInPlace). A new file is created like any other new file (0666 less the umask, the
// directory's default access-control list) and appears only whole. Saves of one file take
// turns (see SaveLock). Our own temporary files of this file's name left over from a save
// that was killed more than a day ago are removed on the way.
//
// Throws InOutError: an existing file that may not be written fails with "File access denied",
// and anything but a regular file is refused; DataFileChangedError as said.
DataFileStamp ReplaceFileContent(const std::string& path, const std::vector<std::string>& pieces,
                                 const std::function<void(std::size_t)>& afterPiece,
                                 const DataFileStamp* expected = nullptr);

// Gives the file at `path` the content `bytes` as a new file (0666 less the umask; the mode of a
// regular file it replaces) that is written beside it and takes its name only once complete and
// flushed, so a failed or killed write leaves the previous file whole. A symbolic link at `path`
// keeps pointing where it did: the file it names is the one replaced. Nothing that is there is
// ever opened or written into. Throws InOutError.
void ReplaceWithNewFile(const std::string& path, std::string_view bytes);

// The name of a temporary file of ours for the file `name`: "." name ".tollwen-save-" eight
// letters or digits ".tmp". Public for the tests.
std::string TemporaryNameFor(const std::string& name);

}  // namespace tollwen
