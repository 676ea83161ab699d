#include "ui/bevel_panel.h"

#include <QPainter>

namespace tollwen {

BevelPanel::BevelPanel(QWidget* parent) : QWidget(parent) {
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::Window);
}

namespace {

// One 1-pixel bevel just inside `r`: `topLeft` on the top and left edges, `bottomRight` on the
// bottom and right edges.
void DrawBevel(QPainter& painter, const QRect& r, const QColor& topLeft,
               const QColor& bottomRight) {
  painter.setPen(topLeft);
  painter.drawLine(r.left(), r.top(), r.right() - 1, r.top());
  painter.drawLine(r.left(), r.top(), r.left(), r.bottom() - 1);
  painter.setPen(bottomRight);
  painter.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
  painter.drawLine(r.right(), r.top(), r.right(), r.bottom());
}

}  // namespace

void BevelPanel::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  const QPalette& pal = palette();
  const QRect outer = rect();
  DrawBevel(painter, outer, pal.color(QPalette::Light), pal.color(QPalette::Dark));
  DrawBevel(painter, outer.adjusted(1, 1, -1, -1), pal.color(QPalette::Dark),
            pal.color(QPalette::Light));
}

}  // namespace tollwen
