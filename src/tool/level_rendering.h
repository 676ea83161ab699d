#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <optional>
#include <string>

#include "display/colours.h"
#include "display/tile_set.h"
#include "level/data_file_check.h"
#include "level/level_grid.h"
#include "tool/tool_cli.h"

namespace tollwen::tool {

// How render and diff draw a level: the tile bitmaps' folder (empty: where the editor finds
// them, AssetFolder) and the arrows' colour.
struct RenderSettings {
  std::string assets;
  QRgb arrowColour = kBlack;
};

// Reads --assets and --arrow-colour from `options`. Returns kExitOk, or the exit status of a
// usage error it has reported.
int ReadRenderSettings(const CommandLine& options, RenderSettings& settings);

// The level `grid` over `picture` as the editor's grid shows it (RenderLevelImage), with the
// tiles of `settings`; `undrawable` receives the cell where the display stops, if any. Nothing,
// having said why on stderr, when the tile bitmaps cannot be loaded.
std::optional<QImage> RenderLevel(const RenderSettings& settings, const LevelGrid& grid,
                                  const QImage& picture, std::optional<QPoint>& undrawable);

// Says on stderr why the editor stops drawing the level of `scan` (the data file `file`) at the
// cell `undrawable`, when there is such a cell.
void PrintUndrawableCell(const std::string& file, const DataFileScan& scan,
                         const std::optional<QPoint>& undrawable);

// Prints "FILE: error: message" on stderr, the file shown with ShownName and the message with
// ShownText.
void PrintFileError(const std::string& file, const std::string& message);

}  // namespace tollwen::tool
