#include <QImage>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "display/level_renderer.h"
#include "level/data_file_check.h"
#include "level/data_file_parser.h"
#include "level/errors.h"
#include "storage/data_file.h"
#include "tool/cell_outline.h"
#include "tool/check_report.h"
#include "tool/level_check.h"
#include "tool/level_diff.h"
#include "tool/level_rendering.h"
#include "tool/output_file.h"
#include "tool/shown_name.h"
#include "tool/tool_cli.h"

namespace tollwen::tool {

namespace {

using Severity = DataFileProblem::Severity;

// A data file read only (the read-only copies a version control system hands over work), as
// the editor reads it. Returns nothing, having reported why, when the editor could not read it:
// it cannot be opened or read, or it holds something the editor refuses (a line too long for a
// data file), which is reported with the editor's own message.
std::optional<DataFileScan> ReadLevel(const std::string& path) {
  DataFileScan scan;
  try {
    scan = ScanDataFile(path);
  } catch (const EditorError& error) {
    PrintFileError(path, error.what());
    return std::nullopt;
  }
  if (scan.refused) {
    PrintFileError(path, TooLongLineMessage(scan.problems.front().line).English());
    return std::nullopt;
  }
  for (const DataFileProblem& problem : scan.problems) {
    // A code that is not a tile code is read and compared; anything else that is an error
    // keeps the editor from reading the file at all.
    if (problem.severity == Severity::kError && problem.cellColumn == 0) {
      std::fprintf(stderr, "%s\n", ProblemLine({path, problem}).c_str());
      return std::nullopt;
    }
  }
  return scan;
}

// Where diff writes its picture, and what it must not write over.
struct DiffPicture {
  std::string picture;
  std::string output;
  std::vector<CommandInput> inputs;
};

// Writes the new level (read as `after`, named `label` in messages) rendered over the picture,
// with the changed cells outlined. Returns kExitOk or kExitUsage, having reported the trouble.
int WriteDiffPicture(const RenderSettings& settings, const DiffPicture& files,
                     const std::string& label, const DataFileScan& after, const LevelDiff& diff) {
  const std::string& picturePath = files.picture;
  QImage picture;
  if (const std::string refusal = ReadLevelPicture(picturePath, picture); !refusal.empty()) {
    PrintFileError(picturePath, refusal);
    return kExitUsage;
  }
  const std::optional<TileSet> tiles = LoadTiles(settings);
  if (!tiles) return kExitUsage;
  std::optional<QPoint> undrawable;
  QImage image = RenderLevelImage({after.grid, picture, *tiles}, &undrawable);
  std::vector<QPoint> changed;
  for (const CellChange& cell : diff.cells) changed.emplace_back(cell.column, cell.row);
  OutlineCells(image, changed);
  try {
    WriteOutputFile(files.output, PngBytes(image), files.inputs);
  } catch (const EditorError& error) {
    PrintError(error.what());
    return kExitUsage;
  }
  // As render says it: the editor shows the new level only up to this cell.
  PrintUndrawableCell(label, after, undrawable);
  return kExitOk;
}

}  // namespace

int RunDiff(const std::vector<std::string>& args) {
  if (AnswerHelpOrVersion(args)) return kExitOk;
  CommandLine options;
  if (const std::string problem = ParseCommandLine(
          args, "diff", {"--picture", "-o", "--label", "--assets", "--arrow-colour"}, {}, options);
      !problem.empty()) {
    return UsageError(problem);
  }
  if (options.operands.size() != 2) return UsageError("diff takes two data files: OLD.dat NEW.dat");
  const std::string picturePath = options.Value("--picture");
  const std::string output = options.Value("-o");
  if (picturePath.empty() != output.empty()) {
    return UsageError("diff needs --picture PICTURE.jpg and -o OUT.png together");
  }
  RenderSettings settings;
  if (const int status = ReadRenderSettings(options, settings); status != kExitOk) return status;

  const std::string& oldFile = options.operands[0];
  const std::string& newFile = options.operands[1];
  // Version control hands over temporary copies; --label names the file they stand for.
  const std::string label = options.values.contains("--label") ? options.Value("--label") : newFile;
  const DiffPicture files{picturePath,
                          output,
                          {{"the level picture", picturePath},
                           {"the old data file", oldFile},
                           {"the new data file", newFile}}};
  if (!output.empty()) {
    try {
      CheckOutputFile(output, files.inputs);
    } catch (const OutputRefused& refused) {
      PrintError(refused.what());
      return kExitUsage;
    }
  }

  const std::optional<DataFileScan> before = ReadLevel(oldFile);
  if (!before) return kExitUsage;
  const std::optional<DataFileScan> after = ReadLevel(newFile);
  if (!after) return kExitUsage;
  const LevelDiff diff = DiffLevels(*before, *after);

  if (!picturePath.empty()) {
    if (const int status = WriteDiffPicture(settings, files, label, *after, diff);
        status != kExitOk) {
      return status;
    }
  }
  const std::string report = DiffReport(diff, label);
  std::fwrite(report.data(), 1, report.size(), stdout);
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    PrintError("cannot write the report");
    return kExitUsage;
  }
  return diff.Same() ? kExitOk : kExitLevelError;
}

}  // namespace tollwen::tool
