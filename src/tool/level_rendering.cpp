#include "tool/level_rendering.h"

#include <cstdio>

#include "display/arrow_colour.h"
#include "display/level_renderer.h"
#include "level/errors.h"
#include "level/path_parts.h"
#include "storage/asset_folder.h"
#include "storage/state_folder.h"
#include "tool/check_report.h"
#include "tool/shown_name.h"

namespace tollwen::tool {

namespace {

// "RRGGBB" (a leading '#' allowed) as an opaque colour.
std::optional<QRgb> ParseColour(std::string text) {
  if (!text.empty() && text.front() == '#') text.erase(0, 1);
  if (text.size() != 6 || text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
    return std::nullopt;
  }
  return kOpaque | static_cast<QRgb>(std::stoul(text, nullptr, 16));
}

}  // namespace

int ReadRenderSettings(const CommandLine& options, RenderSettings& settings) {
  settings.assets = options.Value("--assets");
  if (!options.values.contains("--arrow-colour")) return kExitOk;
  const std::string text = options.Value("--arrow-colour");
  const std::optional<QRgb> colour = ParseColour(text);
  if (!colour) {
    return UsageError("the arrow colour must be six hexadecimal digits RRGGBB, not '" +
                      ShownName(text) + "'");
  }
  if (IsRefusedArrowColour(*colour)) {
    PrintError(kRefusedArrowColourMessage);
    return kExitUsage;
  }
  settings.arrowColour = *colour;
  return kExitOk;
}

std::optional<TileSet> LoadTiles(const RenderSettings& settings) {
  TileSet tiles;
  try {
    LoadAssets(settings.assets.empty() ? AssetFolder() : WithTrailingSeparator(settings.assets),
               tiles);
  } catch (const EditorError& error) {
    PrintError(ShownText(std::string("cannot load the tile bitmaps: ") + error.what()));
    return std::nullopt;
  }
  if (settings.arrowColour != kBlack) RecolourArrows(tiles, kBlack, settings.arrowColour);
  return tiles;
}

void PrintUndrawableCell(const std::string& file, const DataFileScan& scan,
                         const std::optional<QPoint>& undrawable) {
  if (!undrawable) return;
  for (const DataFileProblem& problem : scan.problems) {
    if (problem.cellColumn == undrawable->x() && problem.cellRow == undrawable->y()) {
      std::fprintf(stderr, "%s\n", ProblemLine({file, problem}).c_str());
    }
  }
}

void PrintFileError(const std::string& file, const std::string& message) {
  std::fprintf(stderr, "%s: error: %s\n", ShownName(file).c_str(), ShownText(message).c_str());
}

}  // namespace tollwen::tool
