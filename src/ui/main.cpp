// The program's entry: the application object, the main window (whose creation runs the
// start-up), the picture named on the command line, and the message loop until the window
// closes.
//   tollwen-level-editor [PICTURE.jpg]
#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "ui/main_window.h"

namespace {

// The picture as a full path, as the open dialog gives it; the name's bytes stay as they are.
std::string FullPath(const char* path) {
  std::error_code error;
  const std::filesystem::path full = std::filesystem::absolute(path, error);
  return error ? std::string(path) : full.string();
}

}  // namespace

int main(int argc, char** argv) {
  // Takes Qt's own options (-platform, -style, ...) out of argv.
  QApplication app(argc, argv);
  if (argc > 2 || (argc == 2 && argv[1][0] == '-')) {
    std::fprintf(stderr, "usage: tollwen-level-editor [PICTURE.jpg]\n");
    return 2;
  }
  tollwen::MainWindow form;
  form.show();
  if (argc == 2) {
    // Opened from the event loop, once the window is on the screen.
    QTimer::singleShot(0, &form,
                       [&form, picture = FullPath(argv[1])] { form.OpenPictureFile(picture); });
  }
  return QApplication::exec();
}
