#pragma once

#include <QImage>
#include <QRect>
#include <functional>

class QPainter;

namespace tollwen {

// The dotted focus frame: every other pixel along the inside edge of `rect` is inverted, in a
// checkerboard anchored at the painter's origin. Inverting (rather than drawing a colour) keeps
// the frame visible over any picture; the cell underneath has just been painted, so each pixel
// is inverted exactly once.
void DrawFocusFrame(QPainter& painter, const QRect& rect);

// A widget's edge (the part of `whole` outside `inner`) drawn from a copy: the style draws a
// sunken edge at a quarter of the cost of repainting the whole grid, and the edge only changes
// with the widget's size, state and palette.
class EdgeCache {
 public:
  // Draws the edge, remaking the copy with `drawEdge` when `state` or `paletteKey` or the size
  // differ from the copy's.
  void Draw(QPainter& painter, const QRect& whole, const QRect& inner, int state, qint64 paletteKey,
            const std::function<void(QPainter&)>& drawEdge);

 private:
  QImage copy_;
  int state_ = 0;
  qint64 paletteKey_ = 0;
};

}  // namespace tollwen
