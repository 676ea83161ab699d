// The file dialogs: how the filters, default extensions and remembered names behave, and
// where each dialog starts.
#include "ui/file_dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "scripted_dialogs.h"

namespace tollwen {
namespace {

using test::ScriptedDialogs;

void Touch(const QString& path) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
}

TEST(NameFilters, TurnDescriptionPatternPairsIntoQtFilters) {
  // The patterns are split at ";" and trimmed: "*.mod" must not keep a space or a ";".
  EXPECT_EQ(NameFiltersFrom(kMusicFilter),
            QStringList{"Supported Files (mid, mod, it, xm, s3m) (*.mid *.mod *.IT *.xm *.s3m)"});
  EXPECT_EQ(NameFiltersFrom("A|*.a|B|*.b;*.c"), (QStringList{"A (*.a)", "B (*.b *.c)"}));
  EXPECT_EQ(NameFiltersFrom("Everything"), QStringList{"Everything (*)"});
}

TEST(DefaultExtension, IsAddedOnlyToANameWithoutExtension) {
  EXPECT_EQ(WithDefaultExtension("/l/untitled", "dat"), "/l/untitled.dat");
  EXPECT_EQ(WithDefaultExtension("/l/level1.dat", "dat"), "/l/level1.dat");
  EXPECT_EQ(WithDefaultExtension("/l/level1.txt", "dat"), "/l/level1.txt");
  // A dot in a directory name does not count as the file's extension.
  EXPECT_EQ(WithDefaultExtension("/l.v2/level1", "dat"), "/l.v2/level1.dat");
  EXPECT_EQ(WithDefaultExtension("/l/song", ""), "/l/song");
}

TEST(FileDialogs, AreSetUpWithTheirTitlesFiltersAndRules) {
  QWidget owner;
  FileQuestion picture(PictureDialogSetup(), &owner);
  FileQuestion save(SaveDialogSetup(), &owner);
  FileQuestion music(MusicDialogSetup(), &owner);

  QFileDialog& open1 = picture.Dialog();
  EXPECT_EQ(open1.objectName(), "PictureDialog");
  EXPECT_EQ(open1.windowTitle(), "Select Level File..");
  EXPECT_EQ(open1.nameFilters(), NameFiltersFrom(kPictureFilter));
  EXPECT_EQ(open1.defaultSuffix(), "");
  EXPECT_EQ(open1.fileMode(), QFileDialog::ExistingFile);
  EXPECT_EQ(open1.acceptMode(), QFileDialog::AcceptOpen);
  EXPECT_EQ(picture.FileName(), "");

  QFileDialog& save1 = save.Dialog();
  EXPECT_EQ(save1.objectName(), "SaveDialog");
  EXPECT_EQ(save1.windowTitle(), "Save Level Data...");
  EXPECT_EQ(save1.nameFilters(), NameFiltersFrom(kDataFileFilter));
  EXPECT_EQ(save1.defaultSuffix(), "dat");
  EXPECT_EQ(save1.acceptMode(), QFileDialog::AcceptSave);
  EXPECT_EQ(save1.fileMode(), QFileDialog::AnyFile);
  EXPECT_FALSE(save1.testOption(QFileDialog::DontConfirmOverwrite));
  EXPECT_EQ(save.FileName(), "untitled");

  QFileDialog& open2 = music.Dialog();
  EXPECT_EQ(open2.objectName(), "MusicDialog");
  EXPECT_EQ(open2.windowTitle(), "Open");  // the platform's own title
  EXPECT_EQ(open2.nameFilters(), NameFiltersFrom(kMusicFilter));
  EXPECT_EQ(open2.defaultSuffix(), "mid");
  EXPECT_EQ(open2.fileMode(), QFileDialog::ExistingFile);
  EXPECT_EQ(music.FileName(), "untitled");

  // Each dialog shows its filter's description exactly as written.
  const auto shownFilter = [](QFileDialog& dialog) {
    auto* combo = dialog.findChild<QComboBox*>("fileTypeCombo");
    return combo != nullptr && combo->count() == 1 ? combo->itemText(0) : QString();
  };
  EXPECT_EQ(shownFilter(open1), "Jpeg Level Images (*.jpg)");
  EXPECT_EQ(shownFilter(save1), "Level Data (*.dat)");
  EXPECT_EQ(shownFilter(open2), "Supported Files (mid, mod, it, xm, s3m)");
}

TEST(FileDialogs, StartInTheGivenDirectoryPrefilledWithTheLastChosenName) {
  QTemporaryDir first;
  QTemporaryDir second;
  QWidget owner;
  FileQuestion save(SaveDialogSetup(), &owner);
  ScriptedDialogs dialogs;

  // A name typed without extension gets the default one, in the dialog's directory.
  dialogs.AnswerFile("level7");
  EXPECT_EQ(save.Ask(dialogs, first.path().toStdString() + "/"),
            (first.path() + "/level7.dat").toStdString());
  ASSERT_EQ(dialogs.FileDialogs().size(), 1U);
  EXPECT_EQ(dialogs.FileDialogs()[0].directory, first.path());
  EXPECT_EQ(dialogs.FileDialogs()[0].prefilled, QStringList{first.path() + "/untitled.dat"});

  // Next time it starts where it is told, again pre-filled with the chosen name.
  dialogs.AnswerFile(std::nullopt);
  EXPECT_EQ(save.Ask(dialogs, second.path().toStdString() + "/"), std::nullopt);
  ASSERT_EQ(dialogs.FileDialogs().size(), 2U);
  EXPECT_EQ(dialogs.FileDialogs()[1].directory, second.path());
  EXPECT_EQ(dialogs.FileDialogs()[1].prefilled, QStringList{second.path() + "/level7.dat"});
  // A cancel keeps the remembered name.
  EXPECT_EQ(save.FileName(), "level7.dat");
}

TEST(FileDialogs, KeepAChosenExtensionAndReturnFullPaths) {
  QTemporaryDir dir;
  Touch(dir.filePath("theme.xm"));
  QWidget owner;
  FileQuestion music(MusicDialogSetup(), &owner);
  ScriptedDialogs dialogs;
  dialogs.AnswerFile(dir.filePath("theme.xm"));
  EXPECT_EQ(music.Ask(dialogs, "/"), dir.filePath("theme.xm").toStdString());
  EXPECT_EQ(music.FileName(), "theme.xm");
}

// Waits until the dialog's file list shows `count` entries, or a few seconds have passed.
QStringList ListedFiles(QFileDialog& dialog, int count) {
  auto* list = dialog.findChild<QListView*>("listView");
  if (list == nullptr) return {};
  QStringList names;
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < 5000) {
    QTest::qWait(20);
    names.clear();
    const QModelIndex root = list->rootIndex();
    for (int i = 0; i < list->model()->rowCount(root); ++i) {
      names << list->model()->index(i, 0, root).data().toString();
    }
    if (names.size() >= count) break;
  }
  names.sort();
  return names;
}

TEST(FileDialogs, MusicFilterMatchesExtensionsInAnyCase) {
  QTemporaryDir dir;
  for (const char* name : {"song.it", "SONG2.IT", "tune.MID", "beat.S3M", "notes.txt", "a.jpg"}) {
    Touch(dir.filePath(name));
  }
  QWidget owner;
  FileQuestion music(MusicDialogSetup(), &owner);
  QFileDialog& dialog = music.Dialog();
  dialog.setDirectory(dir.path());
  dialog.show();
  EXPECT_EQ(ListedFiles(dialog, 4), (QStringList{"SONG2.IT", "beat.S3M", "song.it", "tune.MID"}));
  dialog.hide();
}

// Runs the real modal dialog and answers it with keys: `typed` into the name box, then
// Return to whatever has the keyboard (the completion list once it shows), or Escape.
class TypingDialogs : public DialogRunner {
 public:
  QString typed;
  bool escape = false;
  QFileDialog* shown = nullptr;
  QPoint place;            // of the dialog while shown, relative to its owner
  bool listShown = false;  // the completer listed matches for the typed name

  bool RunFileDialog(QFileDialog& dialog) override {
    QTimer::singleShot(0, &dialog, [this, &dialog] {
      shown = &dialog;
      EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
      place = dialog.pos() - dialog.parentWidget()->pos();
      if (escape) {
        QTest::keyClick(&dialog, Qt::Key_Escape);
        return;
      }
      QTest::keyClicks(dialog.findChild<QLineEdit*>("fileNameEdit"), typed);
      listShown = QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; });
      QWidget* keys = QApplication::activePopupWidget();
      QTest::keyClick(keys != nullptr ? keys : dialog.focusWidget(), Qt::Key_Return);
    });
    return dialog.exec() == QDialog::Accepted;
  }
  bool RunColorDialog(QColorDialog&) override { return false; }
  QMessageBox::StandardButton RunMessageBox(QMessageBox&) override { return QMessageBox::Ok; }
};

// Types a name into the real save dialog and presses Return; the question that comes up is
// recorded and answered with Escape, then the dialog, if it is still there, with Escape too.
class ReplacingDialogs : public DialogRunner {
 public:
  QString typed;
  QString question;
  bool dialogStayed = false;

  bool RunFileDialog(QFileDialog& dialog) override {
    QTimer::singleShot(0, &dialog, [this, &dialog] {
      auto* name = dialog.findChild<QLineEdit*>("fileNameEdit");
      QTest::keyClicks(name, typed);
      QTimer::singleShot(100, &dialog, [this] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
          question = box->text();
          QTest::keyClick(box, Qt::Key_Escape);
        }
      });
      QTest::keyClick(name, Qt::Key_Return);
      dialogStayed = dialog.isVisible();
      QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    return dialog.exec() == QDialog::Accepted;
  }
  bool RunColorDialog(QColorDialog&) override { return false; }
  QMessageBox::StandardButton RunMessageBox(QMessageBox&) override { return QMessageBox::Ok; }
};

TEST(FileDialogs, SaveAsksBeforeReplacingAFileAndEscapeKeepsIt) {
  QTemporaryDir dir;
  Touch(dir.filePath("level1.dat"));
  QWidget owner;
  FileQuestion save(SaveDialogSetup(), &owner);
  ReplacingDialogs dialogs;
  dialogs.typed = "level1";  // the default extension makes it the existing file
  EXPECT_EQ(save.Ask(dialogs, dir.path().toStdString()), std::nullopt);
  EXPECT_TRUE(dialogs.question.contains("level1.dat")) << dialogs.question.toStdString();
  EXPECT_TRUE(dialogs.dialogStayed);
}

// The classes of the visible top-level windows.
std::string VisibleWindows() {
  QStringList names;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->isVisible()) names << widget->metaObject()->className();
  }
  return names.join(' ').toStdString();
}

TEST(FileDialogs, AreKeptPlacedOverTheOwnerAndLeaveNoCompletionListBehind) {
  QTemporaryDir dir;
  Touch(dir.filePath("level1.jpg"));
  Touch(dir.filePath("level2.jpg"));
  QWidget owner;
  owner.setGeometry(100, 80, 700, 500);
  owner.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
  FileQuestion picture(PictureDialogSetup(), &owner);
  TypingDialogs dialogs;

  dialogs.typed = "level1.jpg";
  EXPECT_EQ(picture.Ask(dialogs, dir.path().toStdString()),
            dir.filePath("level1.jpg").toStdString());
  EXPECT_TRUE(dialogs.listShown);
  QTest::qWait(50);
  EXPECT_EQ(VisibleWindows(), "QWidget");

  // The same dialog next time, pre-filled, and placed over the owner where it is now.
  QFileDialog* first = dialogs.shown;
  const QPoint firstPlace = dialogs.place;
  owner.move(300, 200);
  dialogs.escape = true;
  EXPECT_EQ(picture.Ask(dialogs, dir.path().toStdString()), std::nullopt);
  EXPECT_EQ(dialogs.shown, first);
  EXPECT_EQ(first->selectedFiles(), QStringList{dir.filePath("level1.jpg")});
  // (The headless platform keeps a window where it was shown before.)
  if (QGuiApplication::platformName() == "xcb") {
    EXPECT_EQ(dialogs.place, firstPlace);
  }
  EXPECT_EQ(VisibleWindows(), "QWidget");
}

TEST(ColourDialog, OffersSolidColoursAndAnswersOpaqueColours) {
  QWidget owner;
  QColorDialog* dialog = CreateColourDialog(&owner);
  EXPECT_EQ(dialog->objectName(), "ArrowColourDialog");
  EXPECT_FALSE(dialog->testOption(QColorDialog::ShowAlphaChannel));

  ScriptedDialogs dialogs;
  dialogs.AnswerColour(QColor(10, 20, 30));
  EXPECT_EQ(AskColour(*dialog, dialogs, qRgb(255, 0, 0)), qRgb(10, 20, 30));
  ASSERT_EQ(dialogs.ColoursPreset().size(), 1U);
  EXPECT_EQ(dialogs.ColoursPreset()[0], QColor(255, 0, 0));

  dialogs.AnswerColour(std::nullopt);
  EXPECT_EQ(AskColour(*dialog, dialogs, qRgb(10, 20, 30)), std::nullopt);
  EXPECT_EQ(dialogs.ColoursPreset().back(), QColor(10, 20, 30));
}

}  // namespace
}  // namespace tollwen
