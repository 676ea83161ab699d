#include "ui/placeholder_window.h"

#include <QLabel>

namespace tollwen {
void ShowPlaceholderWindow() {
  auto* label = new QLabel("Tollwen Level Editor");
  label->setAttribute(Qt::WA_DeleteOnClose);
  label->setWindowTitle("Tollwen Level Editor");
  label->resize(757, 457);
  label->show();
}
}  // namespace tollwen
