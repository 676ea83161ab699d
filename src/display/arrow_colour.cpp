#include "display/arrow_colour.h"

#include <QRect>

#include "display/brush_copy.h"

namespace tollwen {

namespace {

const QRect kRecolouredSquare(0, 0, kRecolouredSize, kRecolouredSize);

// Copies the square from `copy` back onto `target`, the old colour replaced by the new one.
void ReplaceInSquare(Bitmap& target, const QImage& copy, QRgb oldColour, QRgb newColour) {
  if (target.Empty()) return;
  BrushCopy(target.MutableImage(), kRecolouredSquare.topLeft(), copy, kRecolouredSquare, oldColour,
            newColour);
}

}  // namespace

void RecolourArrows(TileSet& tiles, QRgb oldColour, QRgb newColour,
                    const std::function<void()>& eachTile) {
  // The temporary copy the pixels are read from; it lives only for this call, whatever happens.
  QImage temporary;

  for (int i = 1; i <= kTileCount; ++i) {
    Bitmap& tile = tiles.TileBitmap(i);
    temporary = tile.Image().copy();
    tile.SetTransparent(false);
    ReplaceInSquare(tile, temporary, oldColour, newColour);
    tile.SetTransparent(true);
    if (eachTile) eachTile();
  }

  Bitmap& marker = tiles.StartMarker();
  marker.SetTransparent(false);
  temporary = marker.Image().copy();
  ReplaceInSquare(marker, temporary, oldColour, newColour);
  marker.SetTransparent(true);
}

}  // namespace tollwen
