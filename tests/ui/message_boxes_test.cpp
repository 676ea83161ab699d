// The application title, the error box's period rule, and how the two kinds of box look.
#include "ui/message_boxes.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QPushButton>
#include <QScreen>

namespace tollwen {
namespace {

TEST(ApplicationTitle, IsTheExecutableNameCutAtItsFirstDotWithTheRestInLowerCase) {
  EXPECT_EQ(ApplicationTitleFor("/opt/Tollwen/LevelEdit.Exe"), "Leveledit");
  EXPECT_EQ(ApplicationTitleFor("/usr/bin/tollwen-level-editor"), "tollwen-level-editor");
  EXPECT_EQ(ApplicationTitleFor("/usr/bin/MAP.EDITOR.EXE"), "Map");
  // The first character is kept as it is, not raised to upper case.
  EXPECT_EQ(ApplicationTitleFor("/usr/bin/tOLLWEN"), "tollwen");
  // Only the file name counts: a dot in a directory name is no cut.
  EXPECT_EQ(ApplicationTitleFor("/home/a.b/Editor"), "Editor");
  EXPECT_EQ(ApplicationTitleFor("/usr/bin/Ünïcode.bin"), "Ünïcode");
  EXPECT_EQ(ApplicationTitleFor("/usr/bin/.hidden"), "");
}

TEST(ApplicationTitle, OfTheRunningProgramFollowsItsExecutable) {
  EXPECT_EQ(ApplicationTitle(), "window_tests");
}

TEST(ErrorBoxText, AddsAPeriodOnlyAfterCharactersThatSortAfterIt) {
  EXPECT_EQ(ErrorBoxText("File access denied"), "File access denied.");
  EXPECT_EQ(ErrorBoxText("I/O error 105"), "I/O error 105.");
  EXPECT_EQ(ErrorBoxText("Cannot open file /levels/a.bmp"), "Cannot open file /levels/a.bmp.");
  // '/' and the digits sort after '.', so they get one too.
  EXPECT_EQ(ErrorBoxText("path/"), "path/.");
  // '.', '!', ',', '-', ')' and a space sort before or at '.' and stay as they are.
  EXPECT_EQ(ErrorBoxText("Done."), "Done.");
  EXPECT_EQ(ErrorBoxText("File Saved!"), "File Saved!");
  EXPECT_EQ(ErrorBoxText("a,"), "a,");
  EXPECT_EQ(ErrorBoxText("a-"), "a-");
  EXPECT_EQ(ErrorBoxText("(a)"), "(a)");
  EXPECT_EQ(ErrorBoxText("trailing "), "trailing ");
  EXPECT_EQ(ErrorBoxText(""), "");
  // Bytes above 127 compare unsigned, so text ending in a non-ASCII letter gets its period.
  EXPECT_EQ(ErrorBoxText("Fehler in Datei \xC3\xBC"), "Fehler in Datei \xC3\xBC.");
}

TEST(MessageBoxes, PlainBoxHasNoIconAndOneOkButtonThatIsDefaultAndEscape) {
  const auto box = MakeMessageBox("Title", "File Saved!");
  EXPECT_EQ(box->windowTitle(), "Title");
  EXPECT_EQ(box->text(), "File Saved!");  // no period added
  EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
  ASSERT_EQ(box->buttons().size(), 1);
  QAbstractButton* ok = box->buttons().front();
  EXPECT_EQ(ok->text().remove('&'), "OK");
  EXPECT_EQ(box->defaultButton(), ok);
  EXPECT_EQ(box->escapeButton(), ok);
  // File names are shown as they are, never read as markup.
  EXPECT_EQ(box->textFormat(), Qt::PlainText);
}

TEST(MessageBoxes, ErrorBoxHasTheStopIconAndThePeriodRule) {
  const auto box = MakeErrorBox("Title", "File access denied");
  EXPECT_EQ(box->windowTitle(), "Title");
  EXPECT_EQ(box->text(), "File access denied.");
  EXPECT_EQ(box->icon(), QMessageBox::Critical);
  ASSERT_EQ(box->buttons().size(), 1);
  EXPECT_EQ(box->buttons().front()->text().remove('&'), "OK");
  EXPECT_EQ(box->textFormat(), Qt::PlainText);
}

TEST(MessageBoxes, OpenInTheMiddleOfTheScreen) {
  const auto box = MakeMessageBox("Title", "A valid datafile does not exist so one was created!");
  box->show();
  ASSERT_NE(box->screen(), nullptr);
  const QPoint screenCentre = box->screen()->availableGeometry().center();
  const QPoint boxCentre = box->frameGeometry().center();
  EXPECT_LE((screenCentre - boxCentre).manhattanLength(), 2);
  box->hide();
}

}  // namespace
}  // namespace tollwen
