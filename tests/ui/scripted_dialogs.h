#pragma once

#include <QColor>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "ui/dialog_runner.h"

namespace tollwen::test {

// A message box as it was about to be shown.
struct ShownBox {
  QString title;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QStringList buttons;           // texts, without mnemonics
  bool defaultIsEscape = false;  // the default button is also the escape button
  bool plainText = false;
};

// A file dialog as it was about to be shown.
struct ShownFileDialog {
  QString objectName;
  QString directory;      // where it opened
  QStringList prefilled;  // what it would have returned had the user just confirmed it
};

// Answers the window's dialogs from queues instead of a user, and records every dialog and
// box. An empty queue answers as Cancel would.
class ScriptedDialogs : public DialogRunner {
 public:
  // The next file dialog gets `selection` (a name, relative to the dialog's directory, or a
  // full path) typed in and confirmed; nullopt cancels.
  void AnswerFile(std::optional<QString> selection);
  void AnswerColour(std::optional<QColor> colour);
  // The next message box is answered with `button`; without an answer a box is closed with
  // its escape button.
  void AnswerBox(QMessageBox::StandardButton button);
  // Runs once, inside the next dialog or box of any kind, before it is answered.
  void DuringNextDialog(std::function<void()> action);

  const std::vector<ShownBox>& Boxes() const { return boxes_; }
  const std::vector<ShownFileDialog>& FileDialogs() const { return fileDialogs_; }
  const std::vector<QColor>& ColoursPreset() const { return coloursPreset_; }
  // The texts of all boxes, in order.
  QStringList BoxTexts() const;

  bool RunFileDialog(QFileDialog& dialog) override;
  bool RunColorDialog(QColorDialog& dialog) override;
  QMessageBox::StandardButton RunMessageBox(QMessageBox& box) override;

 private:
  void RunPendingAction();

  std::deque<std::optional<QString>> fileAnswers_;
  std::deque<std::optional<QColor>> colourAnswers_;
  std::deque<QMessageBox::StandardButton> boxAnswers_;
  std::function<void()> duringNext_;
  std::vector<ShownBox> boxes_;
  std::vector<ShownFileDialog> fileDialogs_;
  std::vector<QColor> coloursPreset_;
};

}  // namespace tollwen::test
