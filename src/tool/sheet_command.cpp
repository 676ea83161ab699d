#include <QCoreApplication>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "display/level_renderer.h"
#include "level/errors.h"
#include "storage/data_file.h"
#include "tool/check_output.h"
#include "tool/check_report.h"
#include "tool/contact_sheet.h"
#include "tool/level_check.h"
#include "tool/level_files.h"
#include "tool/level_rendering.h"
#include "tool/ordered_jobs.h"
#include "tool/output_file.h"
#include "tool/tool_cli.h"

namespace tollwen::tool {

namespace {

// What the sheet shows of one found file.
struct SheetLevel {
  LevelReport report;
  QImage thumbnail;  // null where there is nothing to draw
};

// Qt's messages while an application starts. On the way it looks for a sandbox marker in the
// runtime folder and says on stderr when XDG_RUNTIME_DIR is unset (as in most CI jobs), which
// is no concern of this command and would end up among its own messages.
void QuietStartMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) qt_message_output(type, context, message);
}

// Writing text needs Qt's font database, which needs an application object. Where the program
// has none (the level tool itself), starts one on the offscreen platform, so that no display is
// needed. False, having said why, when no font is installed (on Debian, Qt's fontconfig brings
// fonts-dejavu-core or another font with it).
bool StartFonts(std::unique_ptr<QGuiApplication>& application) {
  const QtMessageHandler previous = qInstallMessageHandler(QuietStartMessages);
  if (QCoreApplication::instance() == nullptr) {
    static int argc = 3;
    static char name[] = "tollwen-level-tool";
    static char platformOption[] = "-platform";
    static char platform[] = "offscreen";
    static char* argv[] = {name, platformOption, platform, nullptr};
    application = std::make_unique<QGuiApplication>(argc, argv);
  }
  const bool fonts = !QFontDatabase::families().isEmpty();
  qInstallMessageHandler(previous);
  if (!fonts) PrintError("no font to write the level names with; install fonts-dejavu-core");
  return fonts;
}

// The files of the pack, which the sheet must not replace.
std::vector<CommandInput> PackFiles(const LevelFiles& files) {
  std::vector<CommandInput> inputs;
  for (const FoundFile& found : files.found) {
    if (found.kind == FoundFile::Kind::kPicture) {
      inputs.push_back({"a level picture", found.path});
      inputs.push_back({"a level's data file", DataPathFor(found.path)});
    } else if (found.kind == FoundFile::Kind::kUnpairedDataFile) {
      inputs.push_back({"a data file", found.path});
    }
  }
  return inputs;
}

}  // namespace

int RunSheet(const std::vector<std::string>& args) {
  if (AnswerHelpOrVersion(args)) return kExitOk;
  CommandLine options;
  if (const std::string problem = ParseCommandLine(
          args, "sheet",
          {"-o", "--columns", "--width", "--jobs", "-j", "--assets", "--arrow-colour"}, {},
          options);
      !problem.empty()) {
    return UsageError(problem);
  }
  if (options.operands.empty()) return UsageError("sheet needs a level picture or folder");
  const std::string output = options.Value("-o");
  if (output.empty()) return UsageError("sheet needs -o SHEET.png");
  unsigned columns = 4;
  unsigned width = 320;
  unsigned jobs = 0;
  RenderSettings settings;
  for (const int status : {ReadWholeNumber(options, "--columns", 1, 100, columns),
                           ReadWholeNumber(options, "--width", 128, 640, width),
                           ReadJobs(options, jobs), ReadRenderSettings(options, settings)}) {
    if (status != kExitOk) return status;
  }

  const LevelFiles files = FindLevelFiles(options.operands);
  if (!files.errors.empty()) {
    for (const std::string& error : files.errors) PrintError(error);
    return kExitUsage;
  }
  const std::vector<CommandInput> inputs = PackFiles(files);
  try {
    CheckOutputFile(output, inputs);
  } catch (const OutputRefused& refused) {
    PrintError(refused.what());
    return kExitUsage;
  }
  std::unique_ptr<QGuiApplication> application;
  if (!StartFonts(application)) return kExitUsage;
  const std::optional<TileSet> tiles = LoadTiles(settings);
  if (!tiles) return kExitUsage;
  ContactSheet sheet(files.found.size(), static_cast<int>(columns), static_cast<int>(width));
  if (!sheet.Made()) {
    PrintError("a sheet of " + std::to_string(files.found.size()) +
               " levels is too large; ask for a smaller --width");
    return kExitUsage;
  }

  CheckOutput report(files.found.size(), CheckOutput::Format::kLines);
  const auto drawLevel = [&](std::size_t i) {
    SheetLevel level;
    LevelContent content;
    level.report = CheckFoundFile(files.found[i], &content);
    if (!content.picture.isNull() && content.rows) {
      // A tile draws from a transparent copy it makes and keeps on first use, so each level
      // draws with tiles of its own (copies share the pixels).
      const TileSet levelTiles = *tiles;
      level.thumbnail =
          sheet.Thumbnail(RenderLevelImage({content.rows->grid, content.picture, levelTiles}));
    }
    return level;
  };
  try {
    RunInOrder<SheetLevel>(
        files.found.size(), jobs, drawLevel, [&](std::size_t i, SheetLevel& level) {
          report.Add(i, level.report);
          sheet.Place(i, files.found[i].NameInPack(), level.report, level.thumbnail);
        });
  } catch (const std::exception& error) {
    report.Stopped("the sheet", error);
    return kExitUsage;
  }
  try {
    const QImage& image =
        sheet.Finish(SummaryLine(files.PictureCount(), report.Errors(), report.Warnings()));
    WriteOutputFile(output, PngBytes(image), inputs);
  } catch (const EditorError& error) {
    PrintError(error.what());
    return kExitUsage;
  }
  if (!report.Finish(files.PictureCount())) return kExitUsage;
  return report.Errors() > 0 ? kExitLevelError : kExitOk;
}

}  // namespace tollwen::tool
