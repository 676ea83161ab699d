#include "ui/grid_frame.h"

#include <QPainter>
#include <QPolygon>

namespace tollwen {

void DrawFocusFrame(QPainter& painter, const QRect& rect) {
  if (rect.isEmpty()) return;
  QPolygon points;
  auto add = [&points](int x, int y) {
    if ((x + y) % 2 == 0) points << QPoint(x, y);
  };
  const int left = rect.left();
  const int top = rect.top();
  const int right = rect.left() + rect.width() - 1;
  const int bottom = rect.top() + rect.height() - 1;
  for (int x = left; x <= right; ++x) {
    add(x, top);
    if (bottom != top) add(x, bottom);
  }
  for (int y = top + 1; y < bottom; ++y) {
    add(left, y);
    if (right != left) add(right, y);
  }
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  painter.setPen(QPen(QColor(0xFF, 0xFF, 0xFF), 0));
  painter.drawPoints(points);
  painter.restore();
}

void EdgeCache::Draw(QPainter& painter, const QRect& whole, const QRect& inner, int state,
                     qint64 paletteKey, const std::function<void(QPainter&)>& drawEdge) {
  if (copy_.size() != whole.size() || state_ != state || paletteKey_ != paletteKey) {
    copy_ = QImage(whole.size(), QImage::Format_ARGB32_Premultiplied);
    copy_.fill(Qt::transparent);
    QPainter copyPainter(&copy_);
    drawEdge(copyPainter);
    state_ = state;
    paletteKey_ = paletteKey;
  }
  const QRect strips[] = {
      QRect(whole.left(), whole.top(), whole.width(), inner.top()),
      QRect(whole.left(), inner.bottom() + 1, whole.width(), whole.bottom() - inner.bottom()),
      QRect(whole.left(), inner.top(), inner.left(), inner.height()),
      QRect(inner.right() + 1, inner.top(), whole.right() - inner.right(), inner.height()),
  };
  for (const QRect& strip : strips) {
    if (!strip.isEmpty()) painter.drawImage(strip.topLeft(), copy_, strip);
  }
}

}  // namespace tollwen
