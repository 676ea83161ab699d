#pragma once

#include <QWidget>

namespace tollwen {

// A panel with a raised outer bevel and a lowered inner bevel, one pixel each, on the window's
// button-face colour: the frame of the tool panel.
class BevelPanel : public QWidget {
  Q_OBJECT

 public:
  explicit BevelPanel(QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace tollwen
