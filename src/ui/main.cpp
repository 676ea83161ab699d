#include <QApplication>

#include "ui/placeholder_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  tollwen::ShowPlaceholderWindow();
  return app.exec();
}
