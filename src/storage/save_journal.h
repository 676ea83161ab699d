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
// A save killed or failing halfway thus never leaves a mixed file behind for good: whoever next
// opens the file for the editor finds the journal and puts the old content back.
//
// The journal lies beside the data file (".tollwen-save-<device>-<inode>.journal", named for
// the file, not the path, so that every hard link finds it) or, in a folder where the user may
// not create files, in the user's state directory ($XDG_STATE_HOME/tollwen-level-editor, by
// default ~/.local/state/tollwen-level-editor, as "<device>-<inode>.journal").

// When a file was created, where the file system tells (0 otherwise). A file that took over
// the inode number of a journal's file has another birth time.
struct FileBirth {
  std::int64_t seconds = 0;
  std::int64_t nanoseconds = 0;

  bool Known() const { return seconds != 0 || nanoseconds != 0; }
  friend bool operator==(const FileBirth&, const FileBirth&) = default;
};

FileBirth BirthOf(int fd);

struct SaveJournal {
  FileIdentity file;
  FileBirth birth;
  std::string oldContent;
  std::string newContent;
};

// The journal's bytes: a header (identity, birth, sizes, a hash of both contents), then the
// old and the new content. Decoding gives nothing for anything but a complete journal.
std::string EncodeJournal(const SaveJournal& journal);
std::optional<SaveJournal> DecodeJournal(std::string_view bytes);

// True when `current`, the content of the file born at `birth`, is what the journal's save left
// when it stopped halfway: every byte is the old or the new content's (or a NUL where the file
// grew), and it is neither whole. A file that is whole, or holds anything else (changed by
// somebody since), is not touched.
bool IsHalfWritten(const SaveJournal& journal, FileBirth birth, std::string_view current);

// A journal on disk: its directory and name.
struct JournalFile {
  FileDescriptor directory;
  std::string name;
};

// Writes `journal` for the file open as `file` and makes it durable, beside the data file in
// `directory` or, where no file may be created there, in the state directory. Readable as the
// data file is (at most 0644). Throws InOutError, EditorError when there is no place for it.
JournalFile WriteJournal(int directory, int file, const SaveJournal& journal);

// Removes the journal; best effort: a journal left behind after the save completed is removed
// by the next reader, which finds the file whole.
void RemoveJournal(const JournalFile& journal);

// Makes `content` the whole content of `fd` once more, durably. Throws InOutError.
void PutBackContent(int fd, std::string_view content);

// For the file open as `file` (read-write, locked exclusively) in `directory`: puts the old
// content back when a save was interrupted halfway, and removes the journals found. Throws
// InOutError when the content cannot be put back (the journal stays then).
void RecoverInterruptedSave(int directory, int file);

// True when a journal is there for the file open as `file`.
bool HasJournal(int directory, int file);

// For a reader that writes nothing: the content from before an interrupted save of the file
// open as `file`, or nothing when no save was interrupted halfway.
std::optional<std::string> ContentBeforeInterruptedSave(int directory, int file);

}  // namespace tollwen
