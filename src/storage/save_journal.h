#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "storage/data_file_stamp.h"
#include "storage/posix_file.h"

namespace tollwen {

// While a save writes a data file in place (where replacing it would change what the file is),
// a journal holds the file's old content and its new content until the new content is flushed.
// A save killed or failing halfway thus never leaves a mixed file behind for good: the same
// user's editor, next opening the file, finds the journal and puts the old content back.
//
// Journals are kept only in the user's private state folder ($XDG_STATE_HOME/tollwen-level-editor,
// by default ~/.local/state/tollwen-level-editor), as "<device>-<inode>.journal", named for
// the file, not the path, so that every hard link finds it. Only a journal there is trusted, and
// only when it is a regular file of this user's that names the file's identity and birth: a
// journal anyone else could have written (beside the data file, in another user's folder, behind
// a symbolic link) would let them decide what the editor writes into this user's file. Every
// other journal is ignored and left alone.

// When a file was created, where the file system tells (0 otherwise). A file that took over
// the inode number of a journal's file has another birth time.
struct FileBirth {
  std::int64_t seconds = 0;
  std::int64_t nanoseconds = 0;

  friend bool operator==(const FileBirth&, const FileBirth&) = default;
};

FileBirth BirthOf(int fd);

struct SaveJournal {
  FileIdentity file;
  FileBirth birth;
  std::string oldContent;
  std::string newContent;
};

// The largest content a journal holds: the largest data file the editor reads (14 lines of
// kMaxDataLineLength and their line ends). A save in place of a larger file is refused.
std::uint64_t MaxJournalledBytes();

// The journal's bytes: a header (identity, birth, sizes, a hash of both contents), then the
// old and the new content. Decoding gives nothing for anything but a whole journal written so:
// every number plain decimal digits (a '-' only before the birth's seconds), within its type,
// each content no larger than MaxJournalledBytes, and the hash matching.
std::string EncodeJournal(const SaveJournal& journal);
std::optional<SaveJournal> DecodeJournal(std::string_view bytes);

// True when `current`, the content of the file born at `birth`, is what the journal's save left
// when it stopped halfway: the file has the journal's birth, every byte is the old or the new
// content's (or a NUL where the file grew), and it is neither whole. A file that is whole, or
// holds anything else (changed by somebody since), is not touched.
bool IsHalfWritten(const SaveJournal& journal, FileBirth birth, std::string_view current);

// A journal on disk: its folder and name.
struct JournalFile {
  FileDescriptor folder;
  std::string name;
};

// Writes `journal` into the state folder (created private when missing) and makes it durable.
// Throws InOutError, EditorError when there is no state folder.
JournalFile WriteJournal(const SaveJournal& journal);

// Removes the journal; best effort: a journal left behind after the save completed is removed
// by the next reader, which finds the file whole.
void RemoveJournal(const JournalFile& journal);

// Makes `content` the whole content of `fd` once more, durably. Throws InOutError.
void PutBackContent(int fd, std::string_view content);

// For the file open as `file` (read-write, under an exclusive SaveLock): puts the old content
// back when a save was interrupted halfway, and removes this user's journal of the file. Throws
// InOutError when the content cannot be put back (the journal stays then).
void RecoverInterruptedSave(int file);

// True when this user's state folder holds a journal for the file open as `file`.
bool HasJournal(int file);

// What a reader that writes nothing learns of an interrupted save of the file open as `file`.
struct InterruptedSave {
  // The content from before a save that stopped halfway; nothing when none did.
  std::optional<std::string> oldContent;
  // This user's journal of the file is there but cannot be read whole (it is ignored).
  bool damagedJournal = false;
};
InterruptedSave FindInterruptedSave(int file);

// Saves of one data file take turns, and a reader of this user never reads one half written or
// puts back a save still running: each takes this lock, on a byte of a lock file in the user's
// private state folder that stands for the data file. Only the user's own programs can take it,
// so no other program can hold up a save or an open; one of them holds it for a few milliseconds,
// and it is waited for a second at most.
class SaveLock {
 public:
  enum class Kind { kShared, kExclusive };

  // Locks the file open as `file`. Throws EditorError ("Another program is saving the data
  // file") when another of the user's programs keeps it for longer than a save takes. Without a
  // state folder (no home) the file is used unlocked; so it is where `create` is false and no lock
  // file is there yet (then no save of this user ever ran).
  SaveLock(int file, Kind kind, bool create);

 private:
  FileDescriptor lockFile_;
};

}  // namespace tollwen
