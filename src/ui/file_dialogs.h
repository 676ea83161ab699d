#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <string>

class QColorDialog;
class QFileDialog;
class QWidget;

namespace tollwen {

class DialogRunner;

// Filters in the "description|patterns|description|patterns" form, patterns separated by ";".
inline constexpr char kPictureFilter[] = "Jpeg Level Images (*.jpg)|*.jpg";
inline constexpr char kDataFileFilter[] = "Level Data (*.dat)|*.dat";
inline constexpr char kMusicFilter[] =
    "Supported Files (mid, mod, it, xm, s3m)|*.mid; *.mod; *.IT; *.xm; *.s3m";

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
  bool save = false;         // a save dialog: any name, no question before overwriting
};

// The three file dialogs of the window (OpenDialog1: level picture; SaveDialog1: Save As;
// OpenDialog2: music file).
FileDialogSetup PictureDialogSetup();
FileDialogSetup SaveDialogSetup();
FileDialogSetup MusicDialogSetup();

// A file question: asks the same question each time through a file dialog set up for it, and
// remembers the name of the file chosen last, pre-filling it the next time. An open dialog
// only accepts an existing file in an existing directory; a save dialog accepts any name and
// never asks before overwriting.
//
// Every question gets a dialog of its own, dropped once it is answered: a dialog kept hidden
// between questions can leave its name completer's popup on the screen.
class FileQuestion {
 public:
  FileQuestion(FileDialogSetup setup, QWidget* parent);

  // Shows a dialog starting in `initialDir`, pre-filled with the remembered name. Returns the
  // full path of the chosen file, with the default extension appended to a name typed
  // without one, or nothing when the user cancels.
  std::optional<std::string> Ask(DialogRunner& runner, const std::string& initialDir);

  // A dialog set up for this question, not yet pointed at a directory or pre-filled.
  std::unique_ptr<QFileDialog> CreateDialog() const;
  // The name the dialog is pre-filled with next time.
  const QString& FileName() const { return fileName_; }

 private:
  FileDialogSetup setup_;
  QWidget* parent_;
  QString fileName_;
};

// ColorDialog1: solid colours only.
QColorDialog* CreateColourDialog(QWidget* parent);

// Shows the colour dialog preset with `current`; the chosen colour (opaque) or nothing.
std::optional<QRgb> AskColour(QColorDialog& dialog, DialogRunner& runner, QRgb current);

}  // namespace tollwen
