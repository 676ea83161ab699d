#pragma once

#include <array>
#include <functional>
#include <string>

#include "display/bitmap.h"
#include "level/tile_code.h"

namespace tollwen {

// The fifteen tile bitmaps (entries 1..15) and the start marker.
class TileSet {
 public:
  // entry 1..15
  Bitmap& TileBitmap(int index);
  const Bitmap& TileBitmap(int index) const;
  Bitmap& StartMarker() { return startMarker_; }
  const Bitmap& StartMarker() const { return startMarker_; }

  // Frees every bitmap (window close); they draw nothing afterwards.
  void Clear();

 private:
  std::array<Bitmap, kTileCount> tiles_;
  Bitmap startMarker_;
};

// Loads "start.bmp" and then 1.bmp ... 9.bmp, A.bmp ... F.bmp from `resourceDir` (which ends
// with a path separator). Each tile is held at 32 bits per pixel with automatic transparency;
// the marker gets the fixed transparent colour teal once every tile has loaded.
// `eachTile` runs once after each tile (the window keeps repainting). The first error ends
// the loading and propagates; the bitmaps of later steps stay empty.
void LoadAssets(const std::string& resourceDir, TileSet& tiles,
                const std::function<void()>& eachTile = {});

}  // namespace tollwen
