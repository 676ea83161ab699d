#include "display/brush_copy.h"

#include "display/colours.h"

namespace tollwen {

namespace {

bool IsRgb32(const QImage& image) { return image.format() == QImage::Format_RGB32; }

}  // namespace

void BrushCopy(QImage& destination, QPoint destinationTopLeft, const QImage& source,
               QRect sourceRect, QRgb replaced, QRgb brush) {
  if (destination.isNull() || source.isNull()) return;

  // Work on an opaque 32-bit copy of the source when it is stored otherwise or is the destination
  // itself, so that writing the destination never changes pixels still to be read.
  QImage converted;
  const QImage* from = &source;
  if (!IsRgb32(source)) {
    converted = source.convertToFormat(QImage::Format_RGB32);
    from = &converted;
  } else if (&source == &destination) {
    converted = source.copy();
    from = &converted;
  }
  if (!IsRgb32(destination)) destination = destination.convertToFormat(QImage::Format_RGB32);

  // Clip to the source, then to the destination, moving both corners together.
  const QRect wanted = sourceRect.normalized();
  QRect clipped = wanted & from->rect();
  const QPoint offset = destinationTopLeft - wanted.topLeft();
  QRect target = clipped.translated(offset) & destination.rect();
  if (target.isEmpty()) return;
  clipped = target.translated(-offset);

  const QRgb key = replaced & kRgbMask;
  const QRgb paint = brush | kOpaque;
  for (int row = 0; row < target.height(); ++row) {
    const auto* in =
        reinterpret_cast<const QRgb*>(from->constScanLine(clipped.top() + row)) + clipped.left();
    auto* out = reinterpret_cast<QRgb*>(destination.scanLine(target.top() + row)) + target.left();
    for (int column = 0; column < target.width(); ++column) {
      out[column] = (in[column] & kRgbMask) == key ? paint : in[column];
    }
  }
}

}  // namespace tollwen
