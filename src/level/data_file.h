#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "level/level_grid.h"

namespace tollwen {

// The level data file: the music file's name on the first line, then 13 lines of 19 tile
// codes. Lines end with CR LF when written; LF and CR LF are accepted when read.

// Reads the data file at `path`. Returns the music name and fills `grid`; the grid is only
// changed when the whole read succeeded. Rows shorter than 19 characters (or missing) are
// padded with '0'; characters past the 19th are ignored; nothing after the last row is read.
// The music name is kept whole. Throws InOutError (a data file that may not be written fails
// with "File access denied", since the editor would not be able to save it; this is asked
// without opening the file for writing), and EditorError for a first line longer than 1 MiB,
// which no data file has: reading stops there rather than going through a file of any size.
// The longest music line a data file may have. A music file's name is a few dozen bytes, so a
// longer first line only comes from a file that is not a level data file (a sparse file of
// many gigabytes, say), and reading it through would freeze the editor. Rows have no limit:
// only their first 19 characters are kept, the rest is read through.
inline constexpr std::size_t kMaxMusicLineLength = std::size_t{1} << 20;

std::string ReadDataFile(const std::string& path, LevelGrid& grid);

// Writes `musicName` and the grid to `path`, keeping the file what it was (owner, permissions,
// extended attributes, links; see ReplaceFileContent): the content goes to a private temporary
// file that replaces the file once it is complete and flushed or, where a replacement could not
// keep the file's identity, is written in place with the old content put back on failure.
// Either way a failure leaves any previous file as it was. `eachRow` runs once after each row
// is written (the window uses it to keep repainting). Throws InOutError.
void WriteDataFile(const std::string& path, const std::string& musicName, const LevelGrid& grid,
                   const std::function<void()>& eachRow = {});

// The data file's path for a picture: the picture path without its last three characters,
// followed by "dat" (level1.jpg -> level1.dat, level1.jpeg -> level1.jdat).
std::string DataPathFor(const std::string& picturePath);

}  // namespace tollwen
