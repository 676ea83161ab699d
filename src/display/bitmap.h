#pragma once

#include <QImage>
#include <QPoint>
#include <string>

class QPainter;

namespace tollwen {

// A bitmap as the editor draws it: an image plus its transparency settings.
// With transparency on, drawing copies every pixel whose colour differs from the transparent
// colour and leaves the others as the canvas had them. The transparent colour is either the
// bottom-left pixel (automatic; read at every draw, so it follows recolouring) or a fixed one.
// An empty bitmap draws nothing.
class Bitmap {
 public:
  enum class TransparentMode { Automatic, Fixed };

  Bitmap() = default;

  // Replaces the content with the BMP file at `path` (see ReadBmpFile for the errors). A failed
  // load leaves the bitmap as it was.
  void LoadFromFile(const std::string& path);

  bool Empty() const { return image_.isNull() || image_.width() == 0 || image_.height() == 0; }
  int Width() const { return image_.width(); }
  int Height() const { return image_.height(); }

  // The transparent copy that drawing uses follows every change of the pixels, whether they
  // are replaced or written in place through MutableImage().
  const QImage& Image() const { return image_; }
  void SetImage(QImage image);
  QImage& MutableImage() { return image_; }

  void SetTransparent(bool on) { transparent_ = on; }
  bool Transparent() const { return transparent_; }
  void SetTransparentMode(TransparentMode mode) { mode_ = mode; }
  TransparentMode Mode() const { return mode_; }
  void SetTransparentColor(QRgb colour) { fixedColour_ = colour; }
  // The colour that is left out when drawing transparently.
  QRgb TransparentColor() const;

  // Draws at `topLeft` at the bitmap's own size, transparently when transparency is on.
  void Draw(QPainter& painter, QPoint topLeft) const;

 private:
  const QImage& MaskedImage(QRgb transparentColour) const;

  QImage image_;
  bool transparent_ = false;
  TransparentMode mode_ = TransparentMode::Automatic;
  QRgb fixedColour_ = 0xFF000000;

  // The image with the transparent colour turned into alpha 0, built on first draw and
  // rebuilt when the pixels or the transparent colour change.
  mutable QImage masked_;
  mutable QRgb maskedFor_ = 0;
  // The image's cache key when the copy was built (0: none built). Qt gives every image a new
  // key whenever its pixels are written or replaced, and never 0 to an image with pixels.
  mutable qint64 maskedSource_ = 0;
};

}  // namespace tollwen
