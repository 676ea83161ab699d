// The program's entry: the application object, the main window (whose creation runs the
// start-up), the picture named on the command line, and the message loop until the window
// closes.
//   tollwen-level-editor [--help] [--version] [--] [PICTURE.jpg]
#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "ui/application_identity.h"
#include "ui/command_line.h"
#include "ui/main_window.h"
#include "ui/translations.h"

namespace {

// The picture as a full path, as the open dialog gives it; the name's bytes stay as they are.
std::string FullPath(const std::string& path) {
  std::error_code error;
  const std::filesystem::path full = std::filesystem::absolute(path, error);
  return error ? path : full.string();
}

}  // namespace

int main(int argc, char** argv) {
  // Qt sees only the arguments before "--" and takes its own options (-platform, -style, ...)
  // out of them; it keeps the pointers for the application's life.
  tollwen::CommandLineParts parts = tollwen::SplitAtEndOfOptions(argc, argv);
  int qtArgc = static_cast<int>(parts.forQt.size()) - 1;
  const auto parse = [&] {
    return tollwen::ParseEditorArguments(
        std::vector<std::string>(parts.forQt.begin() + std::min(qtArgc, 1),
                                 parts.forQt.begin() + qtArgc),
        parts.names);
  };
  // --help and --version are answered before Qt looks for a display, so they work anywhere; the
  // application object without a window only names the program in the usage line.
  if (const tollwen::EditorRequest request = parse().request;
      request == tollwen::EditorRequest::kHelp || request == tollwen::EditorRequest::kVersion) {
    const QCoreApplication windowless(qtArgc, parts.forQt.data());
    const std::string answer =
        request == tollwen::EditorRequest::kHelp ? tollwen::EditorHelp() : tollwen::EditorVersion();
    std::fputs(answer.c_str(), stdout);
    return 0;
  }
  QApplication app(qtArgc, parts.forQt.data());
  tollwen::SetApplicationIdentity();
  const tollwen::Translations translations;
  const tollwen::EditorArguments arguments = parse();
  if (arguments.request == tollwen::EditorRequest::kWrongUsage) {
    std::fputs(tollwen::kEditorUsage, stderr);
    return 2;
  }
  tollwen::MainWindow form;
  form.show();
  // Opened from the event loop, once the window is on the screen; without a picture, the
  // unsaved changes a crash left behind are offered.
  if (arguments.picture) {
    QTimer::singleShot(0, &form, [&form, picture = FullPath(*arguments.picture)] {
      form.OpenPictureFile(picture);
    });
  } else {
    QTimer::singleShot(0, &form, [&form] { form.OfferRecovery(); });
  }
  return QApplication::exec();
}
