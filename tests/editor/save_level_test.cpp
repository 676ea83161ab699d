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
  editor_.CloseLevel();
  window_.ClearCalls();

  window_.AnswerSaveFile(std::nullopt);
  editor_.Save();

  EXPECT_THAT(window_.Calls(), ElementsAre("AskSaveFile " + resourceDir_));
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

  EXPECT_EQ(window_.Calls().front(), "AskMusicFile " + resourceDir_);
  EXPECT_EQ(window_.CountOf("AskSaveFile " + resourceDir_), 0);
  EXPECT_EQ(ReadFileBytes(dir + "level1.dat"), LevelText("", RowsWithFirst("4000000000000000000")));
  EXPECT_THAT(window_.Messages(), ElementsAre(kSavedMessage));
}

TEST_F(SaveLevelTest, NewAfterOpenKeepsPictureAndSaveOverwritesWithBlankLevel) {
  const std::string dir = MakeDir("levels");
  WriteFileBytes(dir + "level1.dat", LevelText("tune.mod", RowsWithFirst("ABCDEF0000000000000")));
  Open(MakePicture(dir + "level1.jpg"));
  const QImage picture = Level().Picture();
  window_.ClearCalls();

  editor_.NewLevel();

  EXPECT_TRUE(Level().Shown());
  EXPECT_TRUE(Level().MusicName().empty());
  EXPECT_EQ(Level().Grid(), LevelGrid());
  EXPECT_EQ(Level().Picture(), picture);
  EXPECT_EQ(Level().DataPath(), dir + "level1.dat");
  EXPECT_THAT(window_.Calls(), ElementsAre("Display shown"));

  window_.AnswerMusicFile(dir + "other.it");
  editor_.Save();
  EXPECT_EQ(ReadFileBytes(dir + "level1.dat"), BlankLevelText("other.it"));
  EXPECT_EQ(window_.CountOf("AskSaveFile " + resourceDir_), 0);
}

TEST_F(SaveLevelTest, NewBeforeAnyOpenSavesThroughSaveAsThenToThatFile) {
  const std::string target = MakeDir("out") + "fresh.dat";
  editor_.NewLevel();
  editor_.ChooseTile('C');
  Paint(19, 13);

  window_.AnswerMusicFile("/m/a.mid");
  window_.AnswerSaveFile(std::nullopt);
  editor_.Save();
  EXPECT_THAT(window_.SaveDirsAsked(), ElementsAre(resourceDir_));
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
  EXPECT_THAT(window_.SaveDirsAsked(), ElementsAre(resourceDir_, resourceDir_));
  EXPECT_THAT(window_.Messages(), ElementsAre(kSavedMessage, kSavedMessage));
}

TEST_F(SaveLevelTest, SaveAsStartsInResourceDirAndOverwritesWithoutAsking) {
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
  EXPECT_THAT(window_.SaveDirsAsked(), ElementsAre(resourceDir_, resourceDir_));
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

  // Save now goes to the path that failed, and fails the same way.
  EXPECT_THROW(editor_.Save(), InOutError);
  EXPECT_THAT(window_.Messages(), IsEmpty());
  EXPECT_FALSE(PathExists(root_ + "no-such-dir"));
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
