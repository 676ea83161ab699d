#include "ui/arrow_swatch.h"

#include "ui/accessibility.h"

namespace tollwen {

namespace {

constexpr int kSide = 41;

}  // namespace

ArrowSwatch::ArrowSwatch(QWidget* parent) : QLabel(parent) {
  setObjectName(QStringLiteral("ArrowColourSwatch"));
  setFixedSize(kSide, kSide);
  setAutoFillBackground(true);
  setAccessibleName(tr("Arrow colour"));
}

void ArrowSwatch::ShowColour(QRgb colour) {
  QPalette pal = palette();
  pal.setColor(QPalette::Window, QColor::fromRgb(colour));
  setPalette(pal);
  // The colour in words for screen readers, which are told that it changed.
  SetAccessibleDescription(
      *this,
      tr("red %1, green %2, blue %3").arg(qRed(colour)).arg(qGreen(colour)).arg(qBlue(colour)));
}

}  // namespace tollwen
