#pragma once

#include <QImage>
#include <optional>
#include <string>
#include <vector>

#include "level/data_file_check.h"
#include "tool/level_files.h"

namespace tollwen {

// One problem of a level, in the file it was found in (the picture, the data file, or a file
// or folder that could not be read). Names in the message are shown with ShownName.
struct LevelProblem {
  std::string file;
  DataFileProblem problem;
};

// What checking one found file gave: a level (picture and data file), a data file without a
// picture (no picture), or a file or folder that could not be read (neither).
struct LevelReport {
  std::string picture;
  std::string dataFile;
  std::vector<LevelProblem> problems;

  int Count(DataFileProblem::Severity severity) const;
};

// What checking a level read, for a command that goes on to draw it: the picture when it
// decoded at the level size (null otherwise), and the level's rows as the editor opens them:
// the data file's, or the blank level where there is no data file; nothing where the data file
// cannot be read or the editor refuses what it holds.
struct LevelContent {
  QImage picture;
  std::optional<DataFileScan> rows;
};

// Decodes a level picture as the editor's Open does and checks its size. Returns "" and
// fills `picture`, or the reason the editor would refuse it (its own message, with the path
// shown by ShownName). `warnings`, when given, receives libjpeg's warnings about a picture
// that decoded (see LoadLevelPicture).
std::string ReadLevelPicture(const std::string& path, QImage& picture,
                             std::vector<std::string>* warnings = nullptr);

// Checks the level of the picture at `picturePath` by the editor's rules: the picture must
// decode and be 640 x 447 (libjpeg's warnings about a damaged file that still decodes are
// warnings); its data file (found by DataPathFor) must exist, be one the editor may open
// (readable and writable), and is scanned for codes and lines the editor would not take as they
// are. Reads both files and writes nothing. Safe to run on several threads at once. `content`,
// when given, receives what was read.
LevelReport CheckLevel(const std::string& picturePath, LevelContent* content = nullptr);

// The report for anything a search found: a picture's level checked with CheckLevel, a data
// file without a picture as a warning, a file or folder that could not be read as an error.
// `content`, when given, receives what CheckLevel read (nothing for anything else).
LevelReport CheckFoundFile(const FoundFile& found, LevelContent* content = nullptr);

}  // namespace tollwen
