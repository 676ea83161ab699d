#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace tollwen {

// Gives the regular file open read-write as `file`, under an exclusive SaveLock taken by the
// caller, the content `pieces` (written one after another;
// `afterPiece` runs after each with its index) by writing over it in place, so that it stays the
// very same file (its links, owner and attributes).
//
// Crash-safe: its old and new content go to a journal (see save_journal.h) that is flushed
// before the file is touched and removed only once the new content is flushed, so a save killed
// at any moment leaves the whole old content (put back by the next reader) or the whole new
// one. A failure puts the old content back at once, exactly, and is reported. Throws InOutError,
// EditorError for a file larger than MaxJournalledBytes (no data file is) or without a state
// folder to keep the journal in.
void WriteInPlace(int file, const std::vector<std::string>& pieces,
                  const std::function<void(std::size_t)>& afterPiece);

}  // namespace tollwen
