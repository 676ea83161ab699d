#pragma once

#include <string>

#include "tool/level_check.h"

namespace tollwen {

// One problem the way compilers print theirs, so that editors and CI systems can jump to it:
// "FILE:LINE:COLUMN: error: message", leaving out a line or column that does not apply.
std::string ProblemLine(const LevelProblem& problem);

// "N levels, E errors, W warnings".
std::string SummaryLine(int levels, int errors, int warnings);

// One level as a one-line JSON object: picture, dataFile, and its problems, each with file,
// line and column (where they apply), severity and message. Bytes of a file name that are not
// UTF-8 are shown as U+FFFD, so that the result is always valid JSON.
std::string LevelJson(const LevelReport& report);

}  // namespace tollwen
