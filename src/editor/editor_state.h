#pragma once

#include <QImage>
#include <string>

#include "display/tile_set.h"
#include "level/level_grid.h"
#include "level/tile_code.h"

namespace tollwen {

// The state of the one editor the window holds.
struct EditorState {
  // Where the asset bitmaps are read and where the Save As and music dialogs start; ends with
  // a path separator.
  std::string ResourceDir;
  // The grid shows the level (cells are drawn) and Save writes straight to DataPath.
  bool LevelOpen = false;
  // A picture has been opened; from then on the picture dialog starts in PictureDialogDir.
  bool ImageDirChosen = false;
  // The code a cell press writes.
  TileCode CurrentTile = kEmptyTile;
  // Music file name without directory; the data file's first line.
  std::string MusicName;
  // Full path that Save writes to.
  std::string DataPath;
  // Where the picture dialog starts; set at the first Open.
  std::string PictureDialogDir;
  LevelGrid Grid;
  // The decoded level picture: empty until the first Open, 640 x 447 afterwards.
  QImage Background;
  // Tile bitmaps and the start marker, loaded at start-up.
  TileSet Tiles;
};

}  // namespace tollwen
