#pragma once

#include <QColor>
#include <optional>
#include <string>

#include "editor/window_services.h"
#include "ui/file_dialogs.h"

class QColorDialog;
class QWidget;

namespace tollwen {

class DialogRunner;

// The main window's dialogs and message boxes: the picture, save and music questions (each
// dialog kept once made, and pre-filled with the name chosen last), the arrow colour chooser,
// and the message, question and error boxes, captioned with the application's title.
class WindowDialogs {
 public:
  WindowDialogs(DialogRunner& runner, QWidget* parent);
  ~WindowDialogs();
  WindowDialogs(const WindowDialogs&) = delete;
  WindowDialogs& operator=(const WindowDialogs&) = delete;

  std::optional<std::string> AskPictureFile(const std::string& initialDir);
  std::optional<std::string> AskSaveFile(const std::string& initialDir);
  std::optional<std::string> AskMusicFile(const std::string& initialDir);
  std::optional<QRgb> AskArrowColour(QRgb current);

  void ShowMessage(const std::string& text);
  // The error box of the top-level error handler, for a message that escaped a command.
  void ShowError(const std::string& message);
  SaveChangesAnswer AskSaveChanges(const std::string& question);
  // True when the user chose Overwrite.
  bool AskOverwrite(const std::string& question);
  // True when the user chose Reload.
  bool AskReload(const std::string& question);
  RestoreAnswer AskRestore(const std::string& question);

 private:
  DialogRunner& runner_;
  QWidget* parent_;
  // Each dialog is built the first time its question is asked and kept from then on: most
  // sessions never open some of them, and building one costs more than starting the window.
  FileQuestion picture_;
  FileQuestion save_;
  FileQuestion music_;
  QColorDialog* colour_ = nullptr;
};

}  // namespace tollwen
