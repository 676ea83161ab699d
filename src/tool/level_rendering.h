#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <optional>
#include <string>

#include "display/colours.h"
#include "display/tile_set.h"
#include "level/level_grid.h"
#include "tool/tool_cli.h"

namespace tollwen::tool {

// How render and diff draw a level: the tile bitmaps' folder (empty: beside the program, as
// the editor finds them) and the arrows' colour.
struct RenderSettings {
  std::string assets;
  QRgb arrowColour = kBlack;
};

// Reads --assets and --arrow-colour from `options`. Returns kExitOk, or the exit status of a
// usage error it has reported.
int ReadRenderSettings(const CommandLine& options, RenderSettings& settings);

// The level `grid` over `picture` as the editor's grid shows it (RenderLevelImage), with the
// tiles of `settings`. Returns "" and fills `image` (and `undrawable`: the cell where the
// display stops, if any), or why the tile bitmaps could not be loaded.
std::string RenderLevel(const RenderSettings& settings, const LevelGrid& grid,
                        const QImage& picture, QImage& image, std::optional<QPoint>& undrawable);

// Prints "FILE: error: message" on stderr, the file shown with ShownName and the message with
// ShownText.
void PrintFileError(const std::string& file, const std::string& message);

}  // namespace tollwen::tool
