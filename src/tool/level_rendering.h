#pragma once

#include <QColor>
#include <QPoint>
#include <optional>
#include <string>

#include "display/colours.h"
#include "display/tile_set.h"
#include "level/data_file_check.h"
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

// The tile bitmaps of `settings`, their arrows in its colour, for drawing levels with
// RenderLevelImage as the editor's grid shows them. Nothing, having said why on stderr, when
// they cannot be loaded.
std::optional<TileSet> LoadTiles(const RenderSettings& settings);

// Says on stderr why the editor stops drawing the level of `scan` (the data file `file`) at the
// cell `undrawable`, when there is such a cell.
void PrintUndrawableCell(const std::string& file, const DataFileScan& scan,
                         const std::optional<QPoint>& undrawable);

// Prints "FILE: error: message" on stderr, the file shown with ShownName and the message with
// ShownText.
void PrintFileError(const std::string& file, const std::string& message);

}  // namespace tollwen::tool
