#include "ui/dialog_runner.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>

namespace tollwen {

bool ModalDialogRunner::RunFileDialog(QFileDialog& dialog) {
  return dialog.exec() == QDialog::Accepted;
}

bool ModalDialogRunner::RunColorDialog(QColorDialog& dialog) {
  return dialog.exec() == QDialog::Accepted;
}

QMessageBox::StandardButton ModalDialogRunner::RunMessageBox(QMessageBox& box) {
  box.exec();
  return box.standardButton(box.clickedButton());
}

}  // namespace tollwen
