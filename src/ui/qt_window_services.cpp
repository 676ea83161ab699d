#include "ui/qt_window_services.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMimeData>

#include "ui/arrow_swatch.h"
#include "ui/dialog_runner.h"
#include "ui/level_grid_view.h"
#include "ui/message_boxes.h"
#include "ui/status_line.h"

namespace tollwen {

QtWindowServices::QtWindowServices(DialogRunner& runner, QWidget* parent)
    : runner_(runner),
      parent_(parent),
      picture_(PictureDialogSetup(), parent),
      save_(SaveDialogSetup(), parent),
      music_(MusicDialogSetup(), parent) {}

QtWindowServices::~QtWindowServices() = default;

void QtWindowServices::ShowIn(const EditorViews& views) {
  grid_ = views.grid;
  status_ = views.status;
  swatch_ = views.swatch;
}

std::optional<std::string> QtWindowServices::AskPictureFile(const std::string& initialDir) {
  return picture_.Ask(runner_, initialDir);
}

std::optional<std::string> QtWindowServices::AskSaveFile(const std::string& initialDir) {
  return save_.Ask(runner_, initialDir);
}

std::optional<std::string> QtWindowServices::AskMusicFile(const std::string& initialDir) {
  return music_.Ask(runner_, initialDir);
}

std::optional<QRgb> QtWindowServices::AskArrowColour(QRgb current) {
  if (colour_ == nullptr) colour_ = CreateColourDialog(parent_);
  return AskColour(*colour_, runner_, current);
}

void QtWindowServices::ShowMessage(const std::string& text) {
  const auto box = MakeMessageBox(ApplicationTitle(), text, parent_);
  runner_.RunMessageBox(*box);
}

void QtWindowServices::ShowError(const std::string& message) {
  const auto box = MakeErrorBox(ApplicationTitle(), message, parent_);
  runner_.RunMessageBox(*box);
}

SaveChangesAnswer QtWindowServices::AskSaveChanges(const std::string& question) {
  const auto box = MakeSaveChangesBox(ApplicationTitle(), question, parent_);
  const int pressed = runner_.RunMessageBox(*box);
  if (pressed == QMessageBox::Save) return SaveChangesAnswer::Save;
  if (pressed == QMessageBox::Discard) return SaveChangesAnswer::Discard;
  return SaveChangesAnswer::Cancel;
}

bool QtWindowServices::AskOverwrite(const std::string& question) {
  const auto box = MakeOverwriteBox(ApplicationTitle(), question, parent_);
  return runner_.RunMessageBox(*box) == QMessageBox::Yes;
}

bool QtWindowServices::AskReload(const std::string& question) {
  const auto box = MakeReloadBox(ApplicationTitle(), question, parent_);
  return runner_.RunMessageBox(*box) == QMessageBox::Yes;
}

RestoreAnswer QtWindowServices::AskRestore(const std::string& question) {
  const auto box = MakeRestoreBox(ApplicationTitle(), question, parent_);
  const int pressed = runner_.RunMessageBox(*box);
  if (pressed == QMessageBox::Yes) return RestoreAnswer::Restore;
  if (pressed == QMessageBox::Discard) return RestoreAnswer::Discard;
  return RestoreAnswer::Later;
}

void QtWindowServices::ShowNote(const std::string& text) {
  if (status_ != nullptr) status_->ShowNote(text);
}

void QtWindowServices::RepaintGrid() {
  if (grid_ != nullptr) grid_->RepaintGrid();
}

std::optional<std::string> QtWindowServices::ClipboardText(std::size_t maxBytes) const {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  if (data == nullptr || !data->hasText()) return std::string();
  // The bytes first: a text too long is refused before it is decoded.
  const QByteArray bytes = data->data(QStringLiteral("text/plain"));
  if (static_cast<std::size_t>(bytes.size()) > maxBytes) return std::nullopt;
  return data->text().toStdString();
}

void QtWindowServices::SetClipboardText(const std::string& text) {
  QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

void QtWindowServices::ShowArrowColour(QRgb colour) {
  if (swatch_ != nullptr) swatch_->ShowColour(colour);
}

void QtWindowServices::ProcessPendingMessages() {
  // Repaints and timers go through; user input waits until the running command has finished.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace tollwen
