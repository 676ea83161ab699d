// The program's entry: the application object, the main window (whose creation runs the
// start-up), and the message loop until the window closes.
#include <QApplication>

#include "ui/main_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  tollwen::TForm1 form;
  form.show();
  return QApplication::exec();
}
