#pragma once

#include <QImage>
#include <string>
#include <vector>

#include "level/data_file_check.h"

namespace tollwen {

// One problem of a level, in the file it was found in (the picture or the data file).
struct LevelProblem {
  std::string file;
  DataFileProblem problem;
};

struct LevelReport {
  std::string picture;
  std::string dataFile;
  std::vector<LevelProblem> problems;

  int Count(DataFileProblem::Severity severity) const;
};

// Decodes a level picture as the editor's Open does and checks its size. Returns "" and
// fills `picture`, or the reason the editor would refuse it (its own message).
std::string ReadLevelPicture(const std::string& path, QImage& picture);

// Checks the level of the picture at `picturePath` by the editor's rules: the picture must
// decode and be 640 x 447; its data file (found by DataPathFor) must exist, be one the editor
// may open (readable and writable), and is scanned for codes and lines the editor would not
// take as they are. Reads both files and writes nothing.
LevelReport CheckLevel(const std::string& picturePath);

}  // namespace tollwen
