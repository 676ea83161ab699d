#include "ui/message_boxes.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

namespace tollwen {

QString ApplicationTitleFor(const QString& executablePath) {
  // Only the last path component counts, so a "." in a directory name is not a cut.
  QString name = QFileInfo(executablePath).fileName();
  const qsizetype dot = name.indexOf(QLatin1Char('.'));
  if (dot >= 0) name.truncate(dot);
  if (name.isEmpty()) return name;
  // Keep the first character whole, also when it is a surrogate pair.
  const qsizetype firstLength = name.at(0).isHighSurrogate() && name.size() > 1 ? 2 : 1;
  return name.left(firstLength) + name.mid(firstLength).toLower();
}

QString ApplicationTitle() { return ApplicationTitleFor(QCoreApplication::applicationFilePath()); }

std::string ErrorBoxText(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
  return message;
}

void CentredMessageBox::showEvent(QShowEvent* event) {
  // QMessageBox settles its size while it is being shown; centre it only after that.
  QMessageBox::showEvent(event);
  QScreen* target = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
  if (target == nullptr) return;
  QRect frame = frameGeometry();
  frame.moveCenter(target->availableGeometry().center());
  move(frame.topLeft());
}

namespace {

// The text of a button of the editor's own; Qt's standard buttons come translated by Qt.
QString ButtonText(const char* text) {
  return QCoreApplication::translate("tollwen::MessageBoxes", text);
}

// A box without buttons yet.
std::unique_ptr<QMessageBox> MakeBareBox(QMessageBox::Icon icon, const QString& title,
                                         const QString& text, QWidget* parent) {
  auto box = std::make_unique<CentredMessageBox>(parent);
  box->setIcon(icon);
  box->setWindowTitle(title);
  // Shown as given: no rich text interpretation of what a file name or message may hold.
  box->setTextFormat(Qt::PlainText);
  box->setText(text);
  return box;
}

// A box with one OK button.
std::unique_ptr<QMessageBox> MakeBox(QMessageBox::Icon icon, const QString& title,
                                     const QString& text, QWidget* parent) {
  auto box = MakeBareBox(icon, title, text, parent);
  QPushButton* ok = box->addButton(QMessageBox::Ok);
  box->setDefaultButton(ok);
  box->setEscapeButton(ok);
  return box;
}

}  // namespace

std::unique_ptr<QMessageBox> MakeMessageBox(const QString& title, const std::string& text,
                                            QWidget* parent) {
  return MakeBox(QMessageBox::NoIcon, title, QString::fromStdString(text), parent);
}

std::unique_ptr<QMessageBox> MakeSaveChangesBox(const QString& title, const std::string& question,
                                                QWidget* parent) {
  auto box = MakeBareBox(QMessageBox::Question, title, QString::fromStdString(question), parent);
  box->setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
  box->setDefaultButton(QMessageBox::Save);
  box->setEscapeButton(QMessageBox::Cancel);
  return box;
}

namespace {

// A warning whose default and escape button `keep` leaves things as they are; only a press on
// the button named `act` (a standard button under its own name, answering Yes) acts.
std::unique_ptr<QMessageBox> MakeCautiousBox(const QString& title, const std::string& question,
                                             const QString& act, QMessageBox::StandardButton keep,
                                             QWidget* parent) {
  auto box = MakeBareBox(QMessageBox::Warning, title, QString::fromStdString(question), parent);
  box->addButton(QMessageBox::Yes)->setText(act);
  QPushButton* kept = box->addButton(keep);
  box->setDefaultButton(kept);
  box->setEscapeButton(kept);
  return box;
}

}  // namespace

std::unique_ptr<QMessageBox> MakeOverwriteBox(const QString& title, const std::string& question,
                                              QWidget* parent) {
  return MakeCautiousBox(title, question,
                         ButtonText(QT_TRANSLATE_NOOP("tollwen::MessageBoxes", "&Overwrite")),
                         QMessageBox::Cancel, parent);
}

std::unique_ptr<QMessageBox> MakeReloadBox(const QString& title, const std::string& question,
                                           QWidget* parent) {
  auto box = MakeCautiousBox(title, question,
                             ButtonText(QT_TRANSLATE_NOOP("tollwen::MessageBoxes", "&Reload")),
                             QMessageBox::No, parent);
  box->button(QMessageBox::No)
      ->setText(ButtonText(QT_TRANSLATE_NOOP("tollwen::MessageBoxes", "&Keep")));
  return box;
}

std::unique_ptr<QMessageBox> MakeRestoreBox(const QString& title, const std::string& question,
                                            QWidget* parent) {
  auto box = MakeBareBox(QMessageBox::Question, title, QString::fromStdString(question), parent);
  QPushButton* restore = box->addButton(QMessageBox::Yes);
  restore->setText(ButtonText(QT_TRANSLATE_NOOP("tollwen::MessageBoxes", "&Restore")));
  box->addButton(QMessageBox::Discard);
  QPushButton* later = box->addButton(QMessageBox::Cancel);
  later->hide();
  box->setDefaultButton(restore);
  box->setEscapeButton(later);
  return box;
}

std::unique_ptr<QMessageBox> MakeErrorBox(const QString& title, const std::string& message,
                                          QWidget* parent) {
  return MakeBox(QMessageBox::Critical, title, QString::fromStdString(ErrorBoxText(message)),
                 parent);
}

}  // namespace tollwen
