#pragma once

#include <string>
#include <vector>

#include "level/level_grid.h"

namespace tollwen {

// The level data file as the editor writes it: the music file's name on the first line, then
// 13 lines of 19 tile codes, every line ended with CR LF. DataFileParser reads it back.

// The file's lines, each with its CR LF: the music line first, then the rows top to bottom.
std::vector<std::string> DataFileLines(const std::string& musicName, const LevelGrid& grid);

// The data file's path for a picture: the picture path without its last three characters,
// followed by "dat" (level1.jpg -> level1.dat, level1.jpeg -> level1.jdat).
std::string DataPathFor(const std::string& picturePath);

}  // namespace tollwen
