#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>

namespace tollwen {

// The colour-replacing copy: copies `sourceRect` of `source` onto `destination` with its top-left
// corner at `destinationTopLeft`, writing `brush` wherever the source pixel has the colour
// `replaced` and the source pixel everywhere else. Colours are compared on red, green and blue
// only. The rectangle is clipped to both images, so a rectangle larger than a small bitmap copies
// just the part that exists. Bitmaps are opaque: `destination` is held as
// QImage::Format_RGB32 afterwards. `source` may be the destination itself.
void BrushCopy(QImage& destination, QPoint destinationTopLeft, const QImage& source,
               QRect sourceRect, QRgb replaced, QRgb brush);

}  // namespace tollwen
