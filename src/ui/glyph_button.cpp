#include "ui/glyph_button.h"

#include <qdrawutil.h>

#include <QPainter>

namespace tollwen {

QImage TransparentGlyph(const QImage& glyph) {
  if (glyph.isNull()) return {};
  QImage result = glyph.convertToFormat(QImage::Format_ARGB32);
  // Colours are compared without their alpha.
  const QRgb key = result.pixel(0, result.height() - 1) | 0xFF000000u;
  for (int y = 0; y < result.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
    for (int x = 0; x < result.width(); ++x) {
      const QRgb opaque = line[x] | 0xFF000000u;
      line[x] = opaque == key ? 0u : opaque;
    }
  }
  return result;
}

GlyphButton::GlyphButton(QWidget* parent) : QAbstractButton(parent) {
  setCheckable(true);
  setFocusPolicy(Qt::NoFocus);
  setFixedSize(kSize, kSize);
}

void GlyphButton::SetGlyph(const QImage& glyph) {
  glyph_ = glyph.copy();
  drawnGlyph_ = TransparentGlyph(glyph_);
  update();
}

void GlyphButton::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  // Held down by the mouse, or the group's chosen button: drawn sunken.
  const bool sunken = isDown() || isChecked();
  const QPalette& pal = palette();
  const QBrush face = pal.brush(QPalette::Button);
  qDrawWinButton(&painter, rect(), pal, sunken, &face);
  if (isChecked() && !isDown()) {
    // The chosen button's face is dithered with white, as desktop tool buttons do, so the
    // choice shows at a glance.
    const QRect inside = rect().adjusted(2, 2, -2, -2);
    painter.fillRect(inside, QBrush(pal.color(QPalette::Light), Qt::Dense4Pattern));
  }
  if (drawnGlyph_.isNull()) return;
  QPoint topLeft((width() - drawnGlyph_.width()) / 2, (height() - drawnGlyph_.height()) / 2);
  if (sunken) topLeft += QPoint(1, 1);
  painter.setClipRect(rect().adjusted(2, 2, -2, -2));
  painter.drawImage(topLeft, drawnGlyph_);
}

}  // namespace tollwen
