#pragma once

#include <functional>
#include <string>

#include "level/data_file_check.h"
#include "level/data_file_format.h"
#include "level/data_file_parser.h"
#include "level/level_grid.h"
#include "storage/data_file_stamp.h"

namespace tollwen {

// The level data file: the music file's name on the first line, then 13 lines of 19 tile
// codes. Lines end with CR LF when written; LF and CR LF are accepted when read.

// Reads the data file at `path`. Returns the music name and fills `grid`; the grid is only
// changed when the whole read succeeded. Rows shorter than 19 characters (or missing) are
// padded with '0'; characters past the 19th are ignored; nothing after the last row is read.
// The music name is kept whole. `stamp`, when given, receives what the file was, for the next
// WriteDataFile to tell whether it changed on disk meanwhile.
//
// A save of this user's that wrote the file in place and was interrupted halfway is undone first
// (see save_journal.h): the content from before it is put back, so the editor never opens a
// file it left mixed. No other user's program can hold the read up (see SaveLock).
//
// Throws InOutError (a data file that may not be written fails with "File access denied", since
// the editor would not be able to save it; this is asked without opening the file for
// writing), and EditorError for a line longer than kMaxDataLineLength (64 KiB), naming the
// line: no data file has one, and reading stops there rather than going through a file of any
// size.
std::string ReadDataFile(const std::string& path, LevelGrid& grid, DataFileStamp* stamp = nullptr);

// Writes `musicName` and the grid to `path`, keeping the file what it was (owner, permissions,
// extended attributes, links; see ReplaceFileContent): the content goes to a private temporary
// file that replaces the file once it is complete and flushed or, where a replacement could not
// keep the file's identity, is written in place, crash-safe. Either way a failure leaves any
// previous file as it was. `eachRow` runs once after each row is written (the window uses it to
// keep repainting).
//
// With `expected` (the stamp ReadDataFile or the last WriteDataFile to this path gave), nothing
// is written when the file at `path` is no longer that file as it was then (changed content,
// size, time or identity; a symbolic link put in its place; a file where there was none): the
// save throws DataFileChangedError, and writing anyway is a second call without `expected`. A
// file deleted since is written anew. Returns the stamp of what was written. Throws InOutError.
DataFileStamp WriteDataFile(const std::string& path, const std::string& musicName,
                            const LevelGrid& grid, const std::function<void()>& eachRow = {},
                            const DataFileStamp* expected = nullptr);

// Whether a picture has a data file to read: a regular file (or a link to one) at its data
// path. Anything else there (nothing, a folder of that name) means a blank level.
bool DataFileExists(const std::string& path);

// Why the editor refuses an existing data file, as an errno value; 0 when it takes it. It must
// be able to read the file and to save it again, so one it may not write is refused ("File
// access denied") before any edit is made. Asked without opening the file for writing, which
// programs that watch the folder would take for a change. `name` is relative to the folder
// handle `directory` (AT_FDCWD: a path).
int DataFileRefusal(int directory, const std::string& name);

// DataFileRefusal for `path`, relative to the current folder.
int DataFileRefusal(const std::string& path);

// Reads the data file at `path` for reading only (nothing is written, and the file is not
// opened for writing) and scans it (see DataFileScanner). Where a save that wrote the file in
// place was interrupted, the editor puts back the content from before that save when it opens
// the level: that content is scanned then, with a warning. Throws InOutError when it cannot be
// opened or read.
DataFileScan ScanDataFile(const std::string& path);

}  // namespace tollwen
