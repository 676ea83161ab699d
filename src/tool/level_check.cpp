#include "tool/level_check.h"

#include <QImage>
#include <algorithm>
#include <new>
#include <utility>

#include "level/errors.h"
#include "level/level_picture.h"
#include "level/path_parts.h"
#include "storage/data_file.h"
#include "storage/picture_file.h"
#include "tool/shown_name.h"

namespace tollwen {

namespace {

using Severity = DataFileProblem::Severity;

// A problem about a whole file.
LevelProblem FileProblem(const std::string& file, Severity severity, std::string message) {
  LevelProblem problem{file, {}};
  problem.problem.severity = severity;
  problem.problem.message = std::move(message);
  return problem;
}

LevelProblem FileError(const std::string& file, std::string message) {
  return FileProblem(file, Severity::kError, std::move(message));
}

void CheckPicture(LevelReport& report, QImage& picture) {
  std::vector<std::string> warnings;
  if (std::string refusal = ReadLevelPicture(report.picture, picture, &warnings);
      !refusal.empty()) {
    report.problems.push_back(FileError(report.picture, std::move(refusal)));
    return;
  }
  if (warnings.empty()) return;
  std::string said;
  for (const std::string& warning : warnings)
    said += (said.empty() ? "\"" : ", \"") + warning + "\"";
  report.problems.push_back(FileProblem(
      report.picture, Severity::kWarning,
      "damaged picture, libjpeg says " + said + "; the editor shows it with the damage filled in"));
}

void CheckDataFile(LevelReport& report, std::optional<DataFileScan>& rows) {
  const auto add = [&report](std::string message) {
    report.problems.push_back(FileError(report.dataFile, std::move(message)));
  };
  // The editor takes only a regular file (or a link to one); for anything else it opens a
  // blank level.
  if (!DataFileExists(report.dataFile)) {
    report.problems.push_back(FileError(report.picture, "no data file " +
                                                            ShownName(FileNameOf(report.dataFile)) +
                                                            "; the editor opens a blank level"));
    rows.emplace();
    return;
  }
  // Refused as the editor refuses it; the check only asks, it opens nothing for writing.
  std::string refusal;
  if (const int error = DataFileRefusal(report.dataFile); error != 0) {
    refusal = InOutError::FromErrno(error).what();
    add(refusal);
  }
  try {
    DataFileScan scan = ScanDataFile(report.dataFile);
    for (const DataFileProblem& problem : scan.problems) {
      report.problems.push_back({report.dataFile, problem});
    }
    if (!scan.refused) rows = std::move(scan);
  } catch (const EditorError& error) {
    if (error.what() != refusal) add(error.what());
  }
}

// The warning for a data file that no picture beside it pairs with.
std::string UnpairedDataFileMessage(const std::string& dataFile) {
  const std::string name = FileNameOf(dataFile);
  const std::string stem = name.substr(0, name.size() - 3);  // the name ends in ".dat"
  const std::string picture = ShownName(stem + "jpg");
  if (name.ends_with("dat")) {
    return "no picture " + picture +
           " (in any case) for this data file; the editor opens a data file only through its "
           "picture";
  }
  return "no picture pairs with this data file: the editor reads " + ShownName(stem + "dat") +
         " for " + picture + ", never " + ShownName(name);
}

}  // namespace

std::string ReadLevelPicture(const std::string& path, QImage& picture,
                             std::vector<std::string>* warnings) {
  // The editor's own loader: a picture of another size is refused without being held.
  QSize size;
  try {
    if (std::optional<QImage> level = LoadLevelPicture(path, &size, warnings)) {
      picture = std::move(*level);
      return {};
    }
  } catch (const FileOpenError&) {
    return FileOpenError(ShownName(path)).what();
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

LevelReport CheckLevel(const std::string& picturePath, LevelContent* content) {
  LevelReport report;
  report.picture = picturePath;
  report.dataFile = DataPathFor(picturePath);
  LevelContent read;
  CheckPicture(report, read.picture);
  CheckDataFile(report, read.rows);
  if (content != nullptr) *content = std::move(read);
  return report;
}

LevelReport CheckFoundFile(const FoundFile& found, LevelContent* content) {
  LevelReport report;
  switch (found.kind) {
    case FoundFile::Kind::kPicture:
      return CheckLevel(found.path, content);
    case FoundFile::Kind::kUnpairedDataFile:
      report.dataFile = found.path;
      report.problems.push_back(
          FileProblem(found.path, Severity::kWarning, UnpairedDataFileMessage(found.path)));
      break;
    case FoundFile::Kind::kUnreadable:
      report.problems.push_back(FileError(found.path, found.reason));
      break;
  }
  return report;
}

}  // namespace tollwen
