#include "scripted_dialogs.h"

#include <QAbstractButton>
#include <QColorDialog>
#include <QFileDialog>
#include <QPushButton>
#include <utility>

namespace tollwen::test {

void ScriptedDialogs::AnswerFile(std::optional<QString> selection) {
  fileAnswers_.push_back(std::move(selection));
}

void ScriptedDialogs::AnswerColour(std::optional<QColor> colour) {
  colourAnswers_.push_back(std::move(colour));
}

void ScriptedDialogs::AnswerBox(QMessageBox::StandardButton button) {
  boxAnswers_.push_back(button);
}

void ScriptedDialogs::DuringNextDialog(std::function<void()> action) {
  duringNext_ = std::move(action);
}

QStringList ScriptedDialogs::BoxTexts() const {
  QStringList texts;
  for (const ShownBox& box : boxes_) texts << box.text;
  return texts;
}

void ScriptedDialogs::RunPendingAction() {
  if (!duringNext_) return;
  auto action = std::exchange(duringNext_, nullptr);
  action();
}

bool ScriptedDialogs::RunFileDialog(QFileDialog& dialog) {
  fileDialogs_.push_back(
      {dialog.objectName(), dialog.directory().absolutePath(), dialog.selectedFiles()});
  RunPendingAction();
  if (fileAnswers_.empty()) return false;
  const std::optional<QString> answer = fileAnswers_.front();
  fileAnswers_.pop_front();
  if (!answer) return false;
  dialog.selectFile(*answer);
  return true;
}

bool ScriptedDialogs::RunColorDialog(QColorDialog& dialog) {
  coloursPreset_.push_back(dialog.currentColor());
  RunPendingAction();
  if (colourAnswers_.empty()) return false;
  const std::optional<QColor> answer = colourAnswers_.front();
  colourAnswers_.pop_front();
  if (!answer) return false;
  dialog.setCurrentColor(*answer);
  return true;
}

QMessageBox::StandardButton ScriptedDialogs::RunMessageBox(QMessageBox& box) {
  ShownBox shown;
  shown.title = box.windowTitle();
  shown.text = box.text();
  shown.icon = box.icon();
  shown.plainText = box.textFormat() == Qt::PlainText;
  for (QAbstractButton* button : box.buttons()) shown.buttons << button->text().remove('&');
  const QAbstractButton* defaultButton = box.defaultButton();
  shown.defaultIsEscape = defaultButton != nullptr && defaultButton == box.escapeButton();
  boxes_.push_back(shown);
  RunPendingAction();
  if (boxAnswers_.empty()) return box.standardButton(box.escapeButton());
  const QMessageBox::StandardButton answer = boxAnswers_.front();
  boxAnswers_.pop_front();
  return answer;
}

}  // namespace tollwen::test
