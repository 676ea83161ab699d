#pragma once

#include <QColor>
#include <string>

#include "display/colours.h"
#include "display/tile_set.h"
#include "level/tile_code.h"

namespace tollwen {

// What the editor keeps across levels for as long as it runs.
struct EditorState {
  // Where the asset bitmaps are read; ends with a path separator.
  std::string ResourceDir;
  // A picture has been opened; from then on the picture dialog starts in PictureDialogDir.
  bool ImageDirChosen = false;
  // The code the brush and the shape tools write.
  TileCode CurrentTile = kEmptyTile;
  // Where the picture dialog starts; set at the first Open.
  std::string PictureDialogDir;
  // The folder of the file chosen last in any file dialog; empty until one is chosen.
  std::string LastFolder;
  // Tile bitmaps and the start marker, loaded at start-up.
  TileSet Tiles;
  // The colour the arrows of the tiles and the marker have now: black, as in the asset files,
  // until the user chooses another.
  QRgb ArrowColour = kBlack;
};

}  // namespace tollwen
