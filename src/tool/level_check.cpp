#include "tool/level_check.h"

#include <fcntl.h>
#include <unistd.h>

#include <QImage>
#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <new>
#include <system_error>
#include <utility>

#include "level/data_file.h"
#include "level/errors.h"
#include "level/level_picture.h"
#include "level/path_parts.h"

namespace tollwen {

namespace {

using Severity = DataFileProblem::Severity;

// An error about a whole file.
LevelProblem FileError(const std::string& file, std::string message) {
  LevelProblem problem{file, {}};
  problem.problem.severity = Severity::kError;
  problem.problem.message = std::move(message);
  return problem;
}

void CheckPicture(LevelReport& report) {
  QImage picture;
  if (std::string refusal = ReadLevelPicture(report.picture, picture); !refusal.empty()) {
    report.problems.push_back(FileError(report.picture, std::move(refusal)));
  }
}

void CheckDataFile(LevelReport& report) {
  const auto add = [&report](std::string message) {
    report.problems.push_back(FileError(report.dataFile, std::move(message)));
  };
  // The editor takes only a regular file (or a link to one); for anything else it opens a
  // blank level.
  std::error_code ignored;
  if (!std::filesystem::is_regular_file(report.dataFile, ignored)) {
    report.problems.push_back(FileError(
        report.picture,
        "no data file " + FileNameOf(report.dataFile) + "; the editor opens a blank level"));
    return;
  }
  // The editor opens the data file for writing as well and refuses it when it may not: asked
  // here without opening it so, since a check must not look like a write to anyone watching.
  std::string refusal;
  if (::faccessat(AT_FDCWD, report.dataFile.c_str(), R_OK | W_OK, AT_EACCESS) != 0) {
    refusal = InOutError::FromErrno(errno).what();
    add(refusal);
  }
  try {
    DataFileScan scan = ScanDataFile(report.dataFile);
    for (DataFileProblem& problem : scan.problems) {
      report.problems.push_back({report.dataFile, std::move(problem)});
    }
  } catch (const EditorError& error) {
    if (error.what() != refusal) add(error.what());
  }
}

}  // namespace

std::string ReadLevelPicture(const std::string& path, QImage& picture) {
  // The editor's own loader: a picture of another size is refused without being held.
  QSize size;
  try {
    if (std::optional<QImage> level = LoadLevelPicture(path, &size)) {
      picture = std::move(*level);
      return {};
    }
  } catch (const EditorError& error) {
    return error.what();
  } catch (const std::bad_alloc&) {
    return "Out of memory";
  }
  return std::string(kPictureSizeRule) + " (this one is " + std::to_string(size.width()) + "x" +
         std::to_string(size.height()) + ")";
}

int LevelReport::Count(Severity severity) const {
  return static_cast<int>(
      std::count_if(problems.begin(), problems.end(),
                    [severity](const LevelProblem& p) { return p.problem.severity == severity; }));
}

LevelReport CheckLevel(const std::string& picturePath) {
  LevelReport report;
  report.picture = picturePath;
  report.dataFile = DataPathFor(picturePath);
  CheckPicture(report);
  CheckDataFile(report);
  return report;
}

}  // namespace tollwen
