#include "display/tile_set.h"

#include <stdexcept>
#include <string>

#include "display/colours.h"

namespace tollwen {

namespace {

void CheckIndex(int index) {
  if (index < 1 || index > kTileCount) {
    throw std::out_of_range("tile index " + std::to_string(index) + " is not 1..15");
  }
}

// Tile i's file is named by its code: 1.bmp ... 9.bmp, A.bmp ... F.bmp (upper case).
std::string TileFileName(int index) { return std::string(1, TileCodeFor(index)) + ".bmp"; }

}  // namespace

Bitmap& TileSet::TileBitmap(int index) {
  CheckIndex(index);
  return tiles_[static_cast<std::size_t>(index - 1)];
}

const Bitmap& TileSet::TileBitmap(int index) const {
  CheckIndex(index);
  return tiles_[static_cast<std::size_t>(index - 1)];
}

void TileSet::Clear() {
  for (Bitmap& tile : tiles_) tile = Bitmap();
  startMarker_ = Bitmap();
}

void LoadAssets(const std::string& resourceDir, TileSet& tiles,
                const std::function<void()>& eachTile) {
  // Every bitmap starts fresh, so whatever an error leaves unloaded draws nothing.
  tiles.Clear();

  Bitmap& marker = tiles.StartMarker();
  marker.LoadFromFile(resourceDir + "start.bmp");

  for (int i = 1; i <= kTileCount; ++i) {
    Bitmap& tile = tiles.TileBitmap(i);
    // Loading holds the pixels at 32 bits per pixel already.
    tile.LoadFromFile(resourceDir + TileFileName(i));
    tile.SetTransparentMode(Bitmap::TransparentMode::Automatic);
    tile.SetTransparent(true);
    if (eachTile) eachTile();
  }

  // The marker's teal background is never drawn; the arrow colour refuses teal for this reason.
  marker.SetTransparentMode(Bitmap::TransparentMode::Fixed);
  marker.SetTransparentColor(kTeal);
  marker.SetTransparent(true);
}

}  // namespace tollwen
