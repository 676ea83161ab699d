#pragma once

#include <QMessageBox>

class QColorDialog;
class QFileDialog;

namespace tollwen {

// Runs the window's modal dialogs and message boxes. The window configures each dialog and
// reads the answer back from it; only the modal run itself goes through here, so tests can
// answer a dialog without a user.
class DialogRunner {
 public:
  virtual ~DialogRunner() = default;

  // True when the user confirmed the dialog; its selection then holds the answer.
  virtual bool RunFileDialog(QFileDialog& dialog) = 0;
  // True when the user confirmed a colour; the dialog's current colour is the answer.
  virtual bool RunColorDialog(QColorDialog& dialog) = 0;
  // Shows the box until the user closes it; the button pressed (Escape presses the escape
  // button).
  virtual QMessageBox::StandardButton RunMessageBox(QMessageBox& box) = 0;
};

// Shows the dialogs to the user, modally.
class ModalDialogRunner : public DialogRunner {
 public:
  bool RunFileDialog(QFileDialog& dialog) override;
  bool RunColorDialog(QColorDialog& dialog) override;
  QMessageBox::StandardButton RunMessageBox(QMessageBox& box) override;
};

}  // namespace tollwen
