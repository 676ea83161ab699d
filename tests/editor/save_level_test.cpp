// File > Save and File > Save As: where they write, what they ask first, and what they report.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "editor/editor_fixture.h"
#include "level/errors.h"

namespace tollwen::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class SaveLevelTest : public EditorTest {};

TEST_F(SaveLevelTest, SaveWithoutLevelAsksLikeSaveAsAndCancelWritesNothing) {
  const std::string dir = MakeDir("levels");
  WriteFileBytes(dir + "level1.dat", LevelText("tune.mod", RowsWithFirst("3300000000000000000")));
  Open(MakePicture(dir + "level1.jpg"));
  editor_.ChooseTile('5');
  Paint(1, 1);
  window_.AnswerSaveChanges(SaveChangesAnswer::Discard);
  editor_.CloseLevel();
  window_.ClearCalls();

  window_.AnswerSaveFile(std::nullopt);
  editor_.Save();

  // No level is open: the dialog starts in the folder used last.
  EXPECT_THAT(window_.Calls(), ElementsAre("AskSaveFile " + dir));
  EXPECT_EQ(ReadFileBytes(dir + "level1.dat"),
            LevelText("tune.mod", RowsWithFirst("3300000000000000000")));
  EXPECT_EQ(Level().DataPath(), dir + "level1.dat");
  EXPECT_FALSE(Level().Shown());
}

TEST_F(SaveLevelTest, SaveAtStartUpWritesBlankLevelWhereChosen) {
  const std::string target = MakeDir("out") + "new.dat";
  window_.AnswerMusicFile("/music/theme.xm");
  window_.AnswerSaveFile(target);

  editor_.Save();

  EXPECT_EQ(ReadFileBytes(target), BlankLevelText("theme.xm"));
  EXPECT_THAT(window_.Messages(), ElementsAre(kSavedMessage));
  EXPECT_EQ(Level().DataPath(), target);
  // Save As does not open a level: the grid stays as it was.
  EXPECT_FALSE(Level().Shown());
  EXPECT_FALSE(Level().Editable());
}

TEST_F(SaveLevelTest, EmptyMusicNameIsAskedForAndCancelSavesEmptyFirstLine) {
  const std::string dir = MakeDir("levels");
  WriteFileBytes(dir + "level1.dat", LevelText("", RowsWithFirst("4000000000000000000")));
  Open(MakePicture(dir + "level1.jpg"));
  window_.ClearCalls();

  window_.AnswerMusicFile(std::nullopt);
  editor_.Save();

  EXPECT_EQ(window_.Calls().front(), "AskMusicFile " + dir);
  EXPECT_EQ(window_.SaveDirsAsked().size(), 0u);
  EXPECT_EQ(ReadFileBytes(dir + "level1.dat"), LevelText("", RowsWithFirst("4000000000000000000")));
  EXPECT_THAT(window_.Messages(), ElementsAre(kSavedMessage));
}

TEST_F(SaveLevelTest, NewAfterOpenKeepsThePictureButItsSaveAsksForAFile) {
  const std::string dir = MakeDir("levels");
  const std::string finished = LevelText("tune.mod", RowsWithFirst("ABCDEF0000000000000"));
  WriteFileBytes(dir + "level1.dat", finished);
  Open(MakePicture(dir + "level1.jpg"));
  const QImage picture = Level().Picture();
  window_.ClearCalls();

  editor_.NewLevel();

  EXPECT_TRUE(Level().Shown());
  EXPECT_TRUE(Level().MusicName().empty());
  EXPECT_EQ(Level().Grid(), LevelGrid());
  EXPECT_EQ(Level().Picture(), picture);
  EXPECT_EQ(Level().DataPath(), "");
  EXPECT_THAT(window_.Calls(), ElementsAre("Display shown"));

  // The finished level's data file is never written over without the user choosing it.
  editor_.ChooseTile('5');
  Paint(1, 1);
  window_.AnswerMusicFile(dir + "other.it");
  window_.AnswerSaveFile(std::nullopt);
  editor_.Save();
  EXPECT_EQ(ReadFileBytes(dir + "level1.dat"), finished);
  EXPECT_THAT(window_.SaveDirsAsked(), ElementsAre(dir));
  EXPECT_TRUE(editor_.Modified());
}

TEST_F(SaveLevelTest, NewBeforeAnyOpenSavesThroughSaveAsThenToThatFile) {
  const std::string target = MakeDir("out") + "fresh.dat";
  editor_.NewLevel();
  editor_.ChooseTile('C');
  Paint(19, 13);

  window_.AnswerMusicFile("/m/a.mid");
  window_.AnswerSaveFile(std::nullopt);
  editor_.Save();
  // No picture yet: the dialog starts where the music was chosen.
  EXPECT_THAT(window_.SaveDirsAsked(), ElementsAre("/m/"));
  EXPECT_THAT(window_.Messages(), IsEmpty());
  EXPECT_TRUE(Level().DataPath().empty());

  window_.AnswerSaveFile(target);
  editor_.Save();
  Paint(18, 13);
  editor_.Save();

  LevelRows rows;
  rows.fill(kBlankRow);
  rows[12] = "00000000000000000CC";
  EXPECT_EQ(ReadFileBytes(target), LevelText("a.mid", rows));
  EXPECT_THAT(window_.SaveDirsAsked(), ElementsAre("/m/", "/m/"));
  EXPECT_THAT(window_.Messages(), ElementsAre(kSavedMessage, kSavedMessage));
}

TEST_F(SaveLevelTest, SaveAsStartsInTheLevelsFolderAndWritesTheFileTheDialogConfirmed) {
  const std::string dir = MakeDir("levels");
  WriteFileBytes(dir + "level1.dat", LevelText("tune.mod", RowsWithFirst("1000000000000000000")));
  Open(MakePicture(dir + "level1.jpg"));
  const std::string existing = dir + "existing.dat";
  WriteFileBytes(existing, "something else entirely\n");

  window_.AnswerSaveFile(existing);
  editor_.SaveAs();
  window_.AnswerSaveFile(std::nullopt);
  editor_.SaveAs();

  EXPECT_EQ(ReadFileBytes(existing), LevelText("tune.mod", RowsWithFirst("1000000000000000000")));
  EXPECT_THAT(window_.SaveDirsAsked(), ElementsAre(dir, dir));
  EXPECT_THAT(window_.Messages(), ElementsAre(kSavedMessage));
  EXPECT_EQ(Level().DataPath(), existing);
  EXPECT_TRUE(Level().Shown());
}

TEST_F(SaveLevelTest, FailedWriteIsReportedAndNotConfirmed) {
  const std::string dir = MakeDir("levels");
  WriteFileBytes(dir + "level1.dat", LevelText("tune.mod", RowsWithFirst("1000000000000000000")));
  Open(MakePicture(dir + "level1.jpg"));

  window_.AnswerSaveFile(root_ + "no-such-dir/level1.dat");
  EXPECT_THROW(editor_.SaveAs(), InOutError);
  EXPECT_FALSE(editor_.Busy());
  EXPECT_THAT(window_.Messages(), IsEmpty());
  EXPECT_FALSE(PathExists(root_ + "no-such-dir"));

  // The failed Save As changed nothing: Save still writes the level's own file.
  EXPECT_EQ(Level().DataPath(), dir + "level1.dat");
  editor_.ChooseTile('2');
  Paint(2, 1);
  editor_.Save();
  EXPECT_EQ(ReadFileBytes(dir + "level1.dat"),
            LevelText("tune.mod", RowsWithFirst("1200000000000000000")));
}

// Save writes only the file it read or wrote last, as it was then (which changes on disk count
// is the data file's own business): another editor's save is asked about, Cancel keeps both
// the file on disk and the edits, Overwrite writes.
TEST_F(SaveLevelTest, SaveAsksBeforeWritingOverADataFileThatChangedOnDisk) {
  const std::string dir = MakeDir("levels");
  const std::string data = dir + "level1.dat";
  const std::string theirs = LevelText("tune.mod", RowsWithFirst("9990000000000000000"));
  WriteFileBytes(data, LevelText("tune.mod", RowsWithFirst("1000000000000000000")));
  Open(MakePicture(dir + "level1.jpg"));
  editor_.ChooseTile('5');
  Paint(2, 1);
  WriteFileBytes(data, theirs);

  editor_.Save();
  EXPECT_THAT(window_.Messages(), IsEmpty());
  EXPECT_EQ(window_.Calls().back(), "AskOverwrite The data file " + data +
                                        " changed on disk since it was opened. Overwrite it?");
  EXPECT_EQ(ReadFileBytes(data), theirs);
  EXPECT_TRUE(editor_.Modified());

  window_.AnswerOverwrite(true);
  editor_.Save();
  EXPECT_EQ(ReadFileBytes(data), LevelText("tune.mod", RowsWithFirst("1500000000000000000")));
  EXPECT_FALSE(editor_.Modified());
}

// Where Save As and Select Music start: the open level's folder, else the folder of the file
// chosen last, else the home folder.
TEST_F(SaveLevelTest, DialogsStartInTheLevelsFolderElseTheLastOneElseHome) {
  editor_.SelectMusic();
  const std::string music = MakeDir("music");
  window_.AnswerMusicFile(music + "theme.xm");
  editor_.SelectMusic();
  editor_.SaveAs();
  const std::string dir = MakeDir("levels");
  window_.AnswerSaveChanges(SaveChangesAnswer::Discard);
  Open(MakePicture(dir + "level1.jpg"));
  window_.AnswerMusicFile(music + "other.xm");
  editor_.SelectMusic();
  editor_.SaveAs();
  window_.AnswerSaveChanges(SaveChangesAnswer::Discard);
  editor_.CloseLevel();
  editor_.SaveAs();

  EXPECT_THAT(window_.MusicDirsAsked(), ElementsAre(home_, home_, dir));
  EXPECT_THAT(window_.SaveDirsAsked(), ElementsAre(music, dir, music));
}

TEST_F(SaveLevelTest, EveryWriteProcessesMessagesOncePerRowWhileBusy) {
  const std::string target = MakeDir("out") + "level.dat";
  editor_.NewLevel();
  std::vector<bool> busyDuringRows;
  window_.OnProcessPendingMessages([&] { busyDuringRows.push_back(editor_.Busy()); });

  window_.AnswerMusicFile("/m/a.mod");
  window_.AnswerSaveFile(target);
  editor_.Save();
  EXPECT_EQ(window_.PendingMessageRuns(), 13);
  editor_.Save();
  EXPECT_EQ(window_.PendingMessageRuns(), 26);

  EXPECT_EQ(busyDuringRows, std::vector<bool>(26, true));
  EXPECT_FALSE(editor_.Busy());
}

}  // namespace
}  // namespace tollwen::test
