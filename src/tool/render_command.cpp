#include <fcntl.h>
#include <unistd.h>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "display/arrow_colour.h"
#include "display/colours.h"
#include "display/level_renderer.h"
#include "display/tile_set.h"
#include "level/data_file.h"
#include "level/data_file_check.h"
#include "level/errors.h"
#include "level/path_parts.h"
#include "level/posix_file.h"
#include "tool/check_report.h"
#include "tool/level_check.h"
#include "tool/tool_cli.h"

namespace tollwen::tool {

namespace {

struct RenderOptions {
  std::string picture;
  std::string output;
  std::string assets;
  QRgb arrowColour = kBlack;
};

// "RRGGBB" (a leading '#' allowed) as an opaque colour.
std::optional<QRgb> ParseColour(std::string text) {
  if (!text.empty() && text.front() == '#') text.erase(0, 1);
  if (text.size() != 6 || text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
    return std::nullopt;
  }
  return kOpaque | static_cast<QRgb>(std::stoul(text, nullptr, 16));
}

// Parses the words after "render"; an error message when they are not usable.
std::string ParseOptions(const std::vector<std::string>& args, RenderOptions& options) {
  bool optionsEnd = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool takesValue = arg == "-o" || arg == "--arrow-colour" || arg == "--assets";
    if (!optionsEnd && takesValue) {
      if (i + 1 == args.size()) return arg + " needs a value";
      const std::string& value = args[++i];
      if (arg == "-o") {
        options.output = value;
      } else if (arg == "--assets") {
        options.assets = value;
      } else if (const auto colour = ParseColour(value)) {
        options.arrowColour = *colour;
      } else {
        return "the arrow colour must be six hexadecimal digits RRGGBB, not '" + value + "'";
      }
    } else if (!optionsEnd && arg == "--") {
      optionsEnd = true;
    } else if (!optionsEnd && arg.size() > 1 && arg.front() == '-') {
      return "unknown option '" + arg + "' for render";
    } else if (options.picture.empty()) {
      options.picture = arg;
    } else {
      return "render takes one level picture";
    }
  }
  if (options.picture.empty()) return "render needs a level picture";
  return {};
}

// The level's rows, read without writing anything; a picture without a data file shows the
// blank level the editor opens. Throws EditorError when the data file cannot be read.
DataFileScan ReadRows(const std::string& picture) {
  const std::string dataFile = DataPathFor(picture);
  std::error_code ignored;
  if (std::filesystem::is_regular_file(dataFile, ignored)) return ScanDataFile(dataFile);
  std::fprintf(stderr,
               "%s: warning: no data file %s; rendered as the blank level the editor opens\n",
               picture.c_str(), FileNameOf(dataFile).c_str());
  return {};
}

// Writes `image` as a PNG file at `path`, byte for byte the name given (not passed through
// Qt's file names). Throws EditorError.
void WritePng(const QImage& image, const std::string& path) {
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG")) throw EditorError("the PNG could not be made");
  FileDescriptor file = OpenFile(path, O_WRONLY | O_CREAT | O_TRUNC | O_NOCTTY | O_CLOEXEC, 0666);
  WriteAll(file.get(), std::string_view(png.constData(), static_cast<std::size_t>(png.size())));
  if (const int err = file.Close(); err != 0) ThrowInOutError(err);
}

// Prints "FILE: error: message" on stderr and returns the status for a level with an error.
int LevelError(const std::string& file, const std::string& message) {
  std::fprintf(stderr, "%s: error: %s\n", file.c_str(), message.c_str());
  return kExitLevelError;
}

}  // namespace

int RunRender(const std::vector<std::string>& args) {
  if (AnswerHelpOrVersion(args)) return kExitOk;
  RenderOptions options;
  if (const std::string problem = ParseOptions(args, options); !problem.empty()) {
    return UsageError(problem);
  }
  if (IsRefusedArrowColour(options.arrowColour)) {
    PrintError(kRefusedArrowColourMessage);
    return kExitUsage;
  }
  if (::access(options.picture.c_str(), R_OK) != 0) {
    PrintError("cannot read " + options.picture + ": " + std::strerror(errno));
    return kExitUsage;
  }
  if (options.output.empty()) {
    options.output = std::filesystem::path(options.picture).replace_extension(".png").native();
  }

  // The level as the editor opens it.
  QImage picture;
  if (const std::string refusal = ReadLevelPicture(options.picture, picture); !refusal.empty()) {
    return LevelError(options.picture, refusal);
  }
  DataFileScan rows;
  try {
    rows = ReadRows(options.picture);
  } catch (const EditorError& error) {
    return LevelError(DataPathFor(options.picture), error.what());
  }
  if (rows.refused) {
    std::fprintf(stderr, "%s\n",
                 ProblemLine({DataPathFor(options.picture), rows.problems.front()}).c_str());
    return kExitLevelError;
  }

  TileSet tiles;
  try {
    LoadAssets(
        WithTrailingSeparator(options.assets.empty() ? ExecutableDirectory() : options.assets),
        tiles);
  } catch (const EditorError& error) {
    PrintError(std::string("cannot load the tile bitmaps: ") + error.what());
    return kExitUsage;
  }
  if (options.arrowColour != kBlack) RecolourArrows(tiles, kBlack, options.arrowColour);

  std::optional<QPoint> undrawable;
  const QImage image = RenderLevelImage({rows.grid, picture, tiles}, &undrawable);
  try {
    WritePng(image, options.output);
  } catch (const EditorError& error) {
    PrintError("cannot write " + options.output + ": " + error.what());
    return kExitUsage;
  }
  if (!undrawable) return kExitOk;
  for (const DataFileProblem& problem : rows.problems) {
    if (problem.cellColumn == undrawable->x() && problem.cellRow == undrawable->y()) {
      std::fprintf(stderr, "%s\n", ProblemLine({DataPathFor(options.picture), problem}).c_str());
    }
  }
  return kExitLevelError;
}

}  // namespace tollwen::tool
