#pragma once

#include <QColor>
#include <QLabel>

namespace tollwen {

// The square beside the arrow colour's "Select" button, filled with the arrow colour. Screen
// readers hear it named "Arrow colour", with the colour in words as its description.
class ArrowSwatch : public QLabel {
  Q_OBJECT

 public:
  explicit ArrowSwatch(QWidget* parent = nullptr);

  void ShowColour(QRgb colour);
};

}  // namespace tollwen
