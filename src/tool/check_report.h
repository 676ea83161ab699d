#pragma once

#include <string>

#include "tool/level_check.h"

namespace tollwen {

// One problem the way compilers print theirs, so that editors and CI systems can jump to it:
// "FILE:LINE:COLUMN: error: message", leaving out a line or column that does not apply. The
// file name is shown with ShownName and the message with ShownText, so the line is always one
// line and says only what it says.
std::string ProblemLine(const LevelProblem& problem);

// "N levels, E errors, W warnings".
std::string SummaryLine(int levels, int errors, int warnings);

// One report as a one-line JSON object: picture and dataFile (each left out where the report
// has none), and its problems, each with file, line and column (where they apply), severity and
// message. A name that is UTF-8 is given as it is; any other is given with ShownName, and its
// exact bytes in hexadecimal in a field of the same name with "Bytes" added (pictureBytes,
// dataFileBytes, fileBytes), so that every name stays distinct and can be recovered.
std::string LevelJson(const LevelReport& report);

}  // namespace tollwen
