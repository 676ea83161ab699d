#pragma once

#include <QColor>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <optional>
#include <string>

class QColorDialog;
class QFileDialog;
class QWidget;

namespace tollwen {

class DialogRunner;

// Filters in the "description|patterns|description|patterns" form, patterns separated by ";".
// The dialogs show them translated; a translation changes the descriptions only.
inline constexpr char kPictureFilter[] =
    //: A file type and, after the "|", its patterns, which stay as they are.
    QT_TRANSLATE_NOOP("tollwen::FileDialogs", "Jpeg Level Images (*.jpg)|*.jpg");
inline constexpr char kDataFileFilter[] =
    //: A file type and, after the "|", its patterns, which stay as they are.
    QT_TRANSLATE_NOOP("tollwen::FileDialogs", "Level Data (*.dat)|*.dat");
//: A file type and, after the "|", its patterns, which stay as they are.
inline constexpr char kMusicFilter[] =
    QT_TRANSLATE_NOOP("tollwen::FileDialogs",
                      "Supported Files (mid, mod, it, xm, s3m)|*.mid; *.mod; *.IT; *.xm; *.s3m");

// Qt's name filters for a filter in the "description|patterns|..." form: one entry per pair,
// "description (pattern pattern ...)". The dialogs hide the part in parentheses that Qt adds,
// so the user sees each description exactly as written. A trailing description without
// patterns gets "*".
QStringList NameFiltersFrom(const QString& filter);

// `path` with "." and `extension` appended when its file name has no extension of its own and
// `extension` is not empty; `path` unchanged otherwise.
QString WithDefaultExtension(const QString& path, const QString& extension);

// How one of the window's file dialogs is set up.
struct FileDialogSetup {
  QString objectName;
  QString title;  // empty: the platform's default title
  QString filter;
  QString defaultExtension;  // empty: none
  QString initialFileName;   // empty: none
  bool save = false;         // a save dialog: any name, a question before replacing a file
};

// The three file dialogs of the window: the level picture, Save As, and the music file.
FileDialogSetup PictureDialogSetup();
FileDialogSetup SaveDialogSetup();
FileDialogSetup MusicDialogSetup();

// A file question: asks the same question each time through one file dialog, created the
// first time it is asked and kept for the owner's life, and remembers the name of the file
// chosen last, pre-filling it the next time. An open dialog only accepts an existing file in
// an existing directory; a save dialog accepts any name and asks before replacing a file.
// Each showing is placed over the owner like a new dialog would be.
class FileQuestion {
 public:
  FileQuestion(FileDialogSetup setup, QWidget* parent);
  ~FileQuestion();
  FileQuestion(const FileQuestion&) = delete;
  FileQuestion& operator=(const FileQuestion&) = delete;

  // Shows the dialog starting in `initialDir`, pre-filled with the remembered name. Returns
  // the full path of the chosen file, with the default extension appended to a name typed
  // without one, or nothing when the user cancels.
  std::optional<std::string> Ask(DialogRunner& runner, const std::string& initialDir);

  // The question's dialog, created on first use.
  QFileDialog& Dialog();
  // The name the dialog is pre-filled with next time.
  const QString& FileName() const { return fileName_; }

 private:
  FileDialogSetup setup_;
  QWidget* parent_;
  QPointer<QFileDialog> dialog_;  // owned by the parent too, which may delete it first
  QString fileName_;
};

// The arrow colour dialog: solid colours only, the platform's default title.
QColorDialog* CreateColourDialog(QWidget* parent);

// Shows the colour dialog preset with `current`; the chosen colour (opaque) or nothing.
std::optional<QRgb> AskColour(QColorDialog& dialog, DialogRunner& runner, QRgb current);

}  // namespace tollwen
