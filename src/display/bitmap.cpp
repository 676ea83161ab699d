#include "display/bitmap.h"

#include <QPainter>
#include <utility>

#include "display/bmp_reader.h"
#include "display/colours.h"

namespace tollwen {

namespace {

// Bitmaps are opaque and held at 32 bits per pixel; any other format is brought to that.
QImage AsRgb32(QImage image) {
  if (image.isNull() || image.format() == QImage::Format_RGB32) return image;
  return image.convertToFormat(QImage::Format_RGB32);
}

}  // namespace

void Bitmap::LoadFromFile(const std::string& path) {
  // Read first, so that a failed load leaves the bitmap as it was.
  SetImage(ReadBmpFile(path));
}

void Bitmap::SetImage(QImage image) {
  image_ = AsRgb32(std::move(image));
  // The copy of the old pixels is not needed any more; its memory is freed now.
  masked_ = QImage();
  maskedSource_ = 0;
}

QRgb Bitmap::TransparentColor() const {
  if (mode_ == TransparentMode::Fixed || Empty()) return fixedColour_ | kOpaque;
  return image_.pixel(0, image_.height() - 1) | kOpaque;
}

void Bitmap::Draw(QPainter& painter, QPoint topLeft) const {
  if (Empty()) return;
  if (!transparent_) {
    painter.drawImage(topLeft, image_);
    return;
  }
  painter.drawImage(topLeft, MaskedImage(TransparentColor()));
}

const QImage& Bitmap::MaskedImage(QRgb transparentColour) const {
  const QRgb key = transparentColour & kRgbMask;
  // The image's cache key changes whenever its pixels are written, also through a reference
  // kept from MutableImage(), so a stale copy is never drawn.
  if (maskedSource_ == image_.cacheKey() && maskedFor_ == key) return masked_;

  const QImage source = AsRgb32(image_);
  const int width = source.width();
  const int height = source.height();
  if (masked_.size() != source.size() || masked_.format() != QImage::Format_ARGB32_Premultiplied) {
    masked_ = QImage(width, height, QImage::Format_ARGB32_Premultiplied);
  }
  for (int y = 0; y < height; ++y) {
    const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
    auto* out = reinterpret_cast<QRgb*>(masked_.scanLine(y));
    for (int x = 0; x < width; ++x) {
      // Opaque pixels are already valid premultiplied values; the transparent colour becomes
      // fully transparent, so the painter leaves the canvas underneath untouched.
      const QRgb pixel = in[x] & kRgbMask;
      out[x] = pixel == key ? 0u : (pixel | kOpaque);
    }
  }
  maskedFor_ = key;
  maskedSource_ = image_.cacheKey();
  return masked_;
}

}  // namespace tollwen
