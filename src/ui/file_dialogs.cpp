#include "ui/file_dialogs.h"

#include <QAbstractItemView>
#include <QColorDialog>
#include <QCompleter>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QSettings>
#include <utility>

#include "ui/dialog_runner.h"

namespace tollwen {

QStringList NameFiltersFrom(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList result;
  for (qsizetype i = 0; i < parts.size(); i += 2) {
    const QString description = parts[i].trimmed();
    QStringList patterns;
    if (i + 1 < parts.size()) {
      for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString trimmed = pattern.trimmed();
        if (!trimmed.isEmpty()) patterns << trimmed;
      }
    }
    if (patterns.isEmpty()) patterns << QStringLiteral("*");
    result << description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                  QLatin1Char(')');
  }
  return result;
}

QString WithDefaultExtension(const QString& path, const QString& extension) {
  if (extension.isEmpty() || path.isEmpty()) return path;
  if (QFileInfo(path).fileName().contains(QLatin1Char('.'))) return path;
  return path + QLatin1Char('.') + extension;
}

namespace {

QString Translated(const char* text) {
  return QCoreApplication::translate("tollwen::FileDialogs", text);
}

// The name a new file is offered under.
QString UntitledName() {
  //: The name a new file is offered under in the save and music dialogs, without an extension.
  return Translated(QT_TRANSLATE_NOOP("tollwen::FileDialogs", "untitled"));
}

}  // namespace

FileDialogSetup PictureDialogSetup() {
  FileDialogSetup setup;
  setup.objectName = QStringLiteral("PictureDialog");
  setup.title = Translated(QT_TRANSLATE_NOOP("tollwen::FileDialogs", "Select Level File.."));
  setup.filter = Translated(kPictureFilter);
  return setup;
}

FileDialogSetup SaveDialogSetup() {
  FileDialogSetup setup;
  setup.objectName = QStringLiteral("SaveDialog");
  setup.title = Translated(QT_TRANSLATE_NOOP("tollwen::FileDialogs", "Save Level Data..."));
  setup.filter = Translated(kDataFileFilter);
  setup.defaultExtension = QStringLiteral("dat");
  setup.initialFileName = UntitledName();
  setup.save = true;
  return setup;
}

FileDialogSetup MusicDialogSetup() {
  FileDialogSetup setup;
  setup.objectName = QStringLiteral("MusicDialog");
  setup.filter = Translated(kMusicFilter);
  setup.defaultExtension = QStringLiteral("mid");
  setup.initialFileName = UntitledName();
  return setup;
}

namespace {

// Qt's file dialog reads its last directory, view and history from the user's QtProject
// settings file when it is created and writes them back when it is destroyed. The editor
// keeps no settings, so the user scope of settings is pointed at a place that can never be
// created: the dialogs start from their own set-up and nothing is written.
void KeepDialogsOutOfSettings() {
  static bool done = false;
  if (done) return;
  done = true;
  for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
    QSettings::setPath(format, QSettings::UserScope, QStringLiteral("/dev/null"));
  }
}

// Returning a name while the completer lists matches for it closes the dialog but leaves the
// list open; a kept dialog would leave it standing on the screen.
void HideCompletionLists(QFileDialog& dialog) {
  for (QCompleter* completer : dialog.findChildren<QCompleter*>()) {
    if (completer->popup() != nullptr) completer->popup()->hide();
  }
}

}  // namespace

FileQuestion::FileQuestion(FileDialogSetup setup, QWidget* parent)
    : setup_(std::move(setup)), parent_(parent), fileName_(setup_.initialFileName) {}

FileQuestion::~FileQuestion() { delete dialog_.data(); }

QFileDialog& FileQuestion::Dialog() {
  if (dialog_ != nullptr) return *dialog_;
  KeepDialogsOutOfSettings();
  auto* dialog = new QFileDialog(parent_);
  dialog_ = dialog;
  dialog->setObjectName(setup_.objectName);
  // Qt's own dialog on every desktop: it matches the filter patterns regardless of case
  // ("*.IT" lists song.it) and behaves the same everywhere.
  dialog->setOption(QFileDialog::DontUseNativeDialog);
  dialog->setOption(QFileDialog::HideNameFilterDetails);
  if (!setup_.title.isEmpty()) dialog->setWindowTitle(setup_.title);
  dialog->setNameFilters(NameFiltersFrom(setup_.filter));
  dialog->setDefaultSuffix(setup_.defaultExtension);
  if (setup_.save) {
    // Qt's own question before an existing file is replaced; its No (and Escape) returns to
    // the dialog and keeps the file.
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
  } else {
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
  }
  QObject::connect(dialog, &QDialog::finished, dialog, [dialog] { HideCompletionLists(*dialog); });
  return *dialog;
}

std::optional<std::string> FileQuestion::Ask(DialogRunner& runner, const std::string& initialDir) {
  QFileDialog& dialog = Dialog();
  dialog.setDirectory(QString::fromStdString(initialDir));
  // Whatever was typed into a cancelled showing goes; the remembered name comes back.
  if (auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) name->clear();
  if (!fileName_.isEmpty()) dialog.selectFile(fileName_);
  if (!runner.RunFileDialog(dialog)) return std::nullopt;
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty() || files.first().isEmpty()) return std::nullopt;
  const QString path = WithDefaultExtension(files.first(), dialog.defaultSuffix());
  fileName_ = QFileInfo(path).fileName();
  return path.toStdString();
}

QColorDialog* CreateColourDialog(QWidget* parent) {
  KeepDialogsOutOfSettings();  // Qt's colour dialog stores custom colours there
  auto* dialog = new QColorDialog(parent);
  dialog->setObjectName(QStringLiteral("ArrowColourDialog"));
  dialog->setOption(QColorDialog::DontUseNativeDialog);
  dialog->setOption(QColorDialog::ShowAlphaChannel, false);
  return dialog;
}

std::optional<QRgb> AskColour(QColorDialog& dialog, DialogRunner& runner, QRgb current) {
  dialog.setCurrentColor(QColor::fromRgb(current));
  if (!runner.RunColorDialog(dialog)) return std::nullopt;
  const QColor chosen = dialog.currentColor();
  if (!chosen.isValid()) return std::nullopt;
  return qRgb(chosen.red(), chosen.green(), chosen.blue());
}

}  // namespace tollwen
