#include <QImage>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "display/level_renderer.h"
#include "level/data_file_check.h"
#include "level/errors.h"
#include "level/path_parts.h"
#include "storage/data_file.h"
#include "storage/file_status.h"
#include "tool/check_report.h"
#include "tool/level_check.h"
#include "tool/level_rendering.h"
#include "tool/output_file.h"
#include "tool/shown_name.h"
#include "tool/tool_cli.h"

namespace tollwen::tool {

namespace {

// The level's rows, read without writing anything; a picture without a data file shows the
// blank level the editor opens. Throws EditorError when the data file cannot be read.
DataFileScan ReadRows(const std::string& picture) {
  const std::string dataFile = DataPathFor(picture);
  if (DataFileExists(dataFile)) return ScanDataFile(dataFile);
  std::fprintf(stderr,
               "%s: warning: no data file %s; rendered as the blank level the editor opens\n",
               ShownName(picture).c_str(), ShownName(FileNameOf(dataFile)).c_str());
  return {};
}

}  // namespace

int RunRender(const std::vector<std::string>& args) {
  if (AnswerHelpOrVersion(args)) return kExitOk;
  CommandLine options;
  if (const std::string problem =
          ParseCommandLine(args, "render", {"-o", "--assets", "--arrow-colour"}, {}, options);
      !problem.empty()) {
    return UsageError(problem);
  }
  if (options.operands.empty()) return UsageError("render needs a level picture");
  if (options.operands.size() > 1) return UsageError("render takes one level picture");
  RenderSettings settings;
  if (const int status = ReadRenderSettings(options, settings); status != kExitOk) return status;
  const std::string picturePath = options.operands.front();
  if (const int error = ReadAccessError(picturePath); error != 0) {
    PrintError("cannot read " + ShownName(picturePath) + ": " + std::strerror(error));
    return kExitUsage;
  }
  // By default the PNG goes beside the picture. A picture that is itself named *.png would be
  // its own default output: WriteOutputFile refuses that, and the message asks for -o.
  std::string output = options.Value("-o");
  if (output.empty()) {
    output = std::filesystem::path(picturePath).replace_extension(".png").native();
  }

  const std::vector<CommandInput> inputs = {{"the level picture", picturePath},
                                            {"the level's data file", DataPathFor(picturePath)}};
  const auto refuse = [&options](const OutputRefused& refused) {
    PrintError(std::string(refused.what()) +
               (options.values.contains("-o") ? "" : "; name the output with -o OUT.png"));
    return kExitUsage;
  };
  try {
    CheckOutputFile(output, inputs);
  } catch (const OutputRefused& refused) {
    return refuse(refused);
  }

  // The level as the editor opens it.
  QImage picture;
  if (const std::string refusal = ReadLevelPicture(picturePath, picture); !refusal.empty()) {
    PrintFileError(picturePath, refusal);
    return kExitLevelError;
  }
  DataFileScan rows;
  try {
    rows = ReadRows(picturePath);
  } catch (const EditorError& error) {
    PrintFileError(DataPathFor(picturePath), error.what());
    return kExitLevelError;
  }
  if (rows.refused) {
    std::fprintf(stderr, "%s\n",
                 ProblemLine({DataPathFor(picturePath), rows.problems.front()}).c_str());
    return kExitLevelError;
  }

  const std::optional<TileSet> tiles = LoadTiles(settings);
  if (!tiles) return kExitUsage;
  std::optional<QPoint> undrawable;
  const QImage image = RenderLevelImage({rows.grid, picture, *tiles}, &undrawable);
  try {
    WriteOutputFile(output, PngBytes(image), inputs);
  } catch (const OutputRefused& refused) {
    return refuse(refused);
  } catch (const EditorError& error) {
    PrintError(error.what());
    return kExitUsage;
  }
  PrintUndrawableCell(DataPathFor(picturePath), rows, undrawable);
  return undrawable ? kExitLevelError : kExitOk;
}

}  // namespace tollwen::tool
