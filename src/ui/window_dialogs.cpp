#include "ui/window_dialogs.h"

#include "ui/dialog_runner.h"
#include "ui/message_boxes.h"

namespace tollwen {

WindowDialogs::WindowDialogs(DialogRunner& runner, QWidget* parent)
    : runner_(runner),
      parent_(parent),
      picture_(PictureDialogSetup(), parent),
      save_(SaveDialogSetup(), parent),
      music_(MusicDialogSetup(), parent) {}

WindowDialogs::~WindowDialogs() = default;

std::optional<std::string> WindowDialogs::AskPictureFile(const std::string& initialDir) {
  return picture_.Ask(runner_, initialDir);
}

std::optional<std::string> WindowDialogs::AskSaveFile(const std::string& initialDir) {
  return save_.Ask(runner_, initialDir);
}

std::optional<std::string> WindowDialogs::AskMusicFile(const std::string& initialDir) {
  return music_.Ask(runner_, initialDir);
}

std::optional<QRgb> WindowDialogs::AskArrowColour(QRgb current) {
  if (colour_ == nullptr) colour_ = CreateColourDialog(parent_);
  return AskColour(*colour_, runner_, current);
}

void WindowDialogs::ShowMessage(const std::string& text) {
  const auto box = MakeMessageBox(ApplicationTitle(), text, parent_);
  runner_.RunMessageBox(*box);
}

void WindowDialogs::ShowError(const std::string& message) {
  const auto box = MakeErrorBox(ApplicationTitle(), message, parent_);
  runner_.RunMessageBox(*box);
}

SaveChangesAnswer WindowDialogs::AskSaveChanges(const std::string& question) {
  const auto box = MakeSaveChangesBox(ApplicationTitle(), question, parent_);
  const int pressed = runner_.RunMessageBox(*box);
  if (pressed == QMessageBox::Save) return SaveChangesAnswer::Save;
  if (pressed == QMessageBox::Discard) return SaveChangesAnswer::Discard;
  return SaveChangesAnswer::Cancel;
}

bool WindowDialogs::AskOverwrite(const std::string& question) {
  const auto box = MakeOverwriteBox(ApplicationTitle(), question, parent_);
  return runner_.RunMessageBox(*box) == QMessageBox::Yes;
}

bool WindowDialogs::AskReload(const std::string& question) {
  const auto box = MakeReloadBox(ApplicationTitle(), question, parent_);
  return runner_.RunMessageBox(*box) == QMessageBox::Yes;
}

RestoreAnswer WindowDialogs::AskRestore(const std::string& question) {
  const auto box = MakeRestoreBox(ApplicationTitle(), question, parent_);
  const int pressed = runner_.RunMessageBox(*box);
  if (pressed == QMessageBox::Yes) return RestoreAnswer::Restore;
  if (pressed == QMessageBox::Discard) return RestoreAnswer::Discard;
  return RestoreAnswer::Later;
}

}  // namespace tollwen
