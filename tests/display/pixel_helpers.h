#pragma once

// Small images for the display tests: tiles drawn pixel by pixel and a picture to draw them on.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPoint>

#include "display/bitmap.h"

namespace tollwen::test {

inline constexpr QRgb kRed = 0xFFFF0000;
inline constexpr QRgb kGreen = 0xFF00FF00;
inline constexpr QRgb kBlue = 0xFF0000FF;

// An opaque image of one colour.
inline QImage Filled(int width, int height, QRgb colour) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}

// A picture where every pixel has its own colour, so a pixel painted over is always noticed.
inline QImage Picture(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) image.setPixel(x, y, qRgb(x * 3 % 256, y * 5 % 256, 0x41));
  }
  return image;
}

// `bitmap` drawn onto a copy of `canvas` at `at`.
inline QImage DrawnOnto(const QImage& canvas, const Bitmap& bitmap, QPoint at) {
  QImage result = canvas.copy();
  QPainter painter(&result);
  bitmap.Draw(painter, at);
  painter.end();
  return result;
}

// Counts the pixels of `image` with colour `colour` (RGB only).
inline int CountOf(const QImage& image, QRgb colour) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) ++count;
    }
  }
  return count;
}

}  // namespace tollwen::test
