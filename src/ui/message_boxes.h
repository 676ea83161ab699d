#pragma once

#include <QMessageBox>
#include <QString>
#include <memory>
#include <string>

namespace tollwen {

// The title of the application: the executable's file name without its directory and without
// everything from its first ".", the first character kept as it is and the rest in lower case
// ("/opt/Tollwen/LevelEdit.Exe" gives "Leveledit"). It captions every message box.
QString ApplicationTitleFor(const QString& executablePath);
// ApplicationTitleFor the running executable.
QString ApplicationTitle();

// The text the error box shows for an error message: the message with a period after it when
// its last character sorts after "." in the character code (compared as unsigned bytes), the
// message unchanged otherwise ("File access denied" -> "File access denied.", while "File
// Saved!" and "Done." stay as they are).
std::string ErrorBoxText(const std::string& message);

// A message box that places itself in the middle of the screen it opens on, whatever its
// parent, once it knows its final size.
class CentredMessageBox : public QMessageBox {
  Q_OBJECT

 public:
  using QMessageBox::QMessageBox;

 protected:
  void showEvent(QShowEvent* event) override;
};

// The plain message box of ShowMessage: captioned `title`, the text as given, no icon, and one
// "OK" button that is both the default and the escape button.
std::unique_ptr<QMessageBox> MakeMessageBox(const QString& title, const std::string& text,
                                            QWidget* parent = nullptr);

// The question before a modified level would be lost: captioned `title`, a question icon,
// Save, Discard and Cancel buttons; Save is the default and Escape cancels.
std::unique_ptr<QMessageBox> MakeSaveChangesBox(const QString& title, const std::string& question,
                                                QWidget* parent = nullptr);

// The question before a file changed by someone else is written over: captioned `title`, a
// warning icon, Overwrite (answering Yes) and Cancel buttons; Cancel is the default and the
// escape button.
std::unique_ptr<QMessageBox> MakeOverwriteBox(const QString& title, const std::string& question,
                                              QWidget* parent = nullptr);

// The question before a data file changed on disk is read again over unsaved changes:
// captioned `title`, a warning icon, Reload (answering Yes) and Keep buttons; Keep is the
// default and the escape button.
std::unique_ptr<QMessageBox> MakeReloadBox(const QString& title, const std::string& question,
                                           QWidget* parent = nullptr);

// The question about unsaved changes an earlier session left: captioned `title`, a question
// icon, Restore (answering Yes; the default) and Discard buttons. Escape (or closing the box)
// answers Cancel, through a button that is not shown: the user decides another time.
std::unique_ptr<QMessageBox> MakeRestoreBox(const QString& title, const std::string& question,
                                            QWidget* parent = nullptr);

// The error box of the top-level error handler: captioned `title`, a stop icon, one "OK"
// button, and ErrorBoxText(message) as its text.
std::unique_ptr<QMessageBox> MakeErrorBox(const QString& title, const std::string& message,
                                          QWidget* parent = nullptr);

}  // namespace tollwen
