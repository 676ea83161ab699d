#pragma once

#include <QAbstractButton>
#include <QImage>

namespace tollwen {

// The glyph as a palette button draws it: every pixel that has the colour of the bottom-left
// pixel becomes fully transparent, every other pixel stays opaque. An empty image stays empty.
QImage TransparentGlyph(const QImage& glyph);

// A palette button: a 41 x 41 toggle button without text that shows a glyph centred on it.
// It acts when the left mouse button is released inside it, also when it is already down,
// and takes no keyboard focus (the palette is used with the mouse). Put in an exclusive
// QButtonGroup, exactly one of the group is down.
class GlyphButton : public QAbstractButton {
  Q_OBJECT

 public:
  static constexpr int kSize = 41;

  explicit GlyphButton(QWidget* parent = nullptr);

  // The glyph as given (a copy is kept) and as drawn.
  void SetGlyph(const QImage& glyph);
  const QImage& Glyph() const { return glyph_; }
  const QImage& DrawnGlyph() const { return drawnGlyph_; }

  QSize sizeHint() const override { return {kSize, kSize}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage glyph_;
  QImage drawnGlyph_;
};

}  // namespace tollwen
