// The editor's start state and its small commands: Close, Refresh Display, painting, choosing a
// tile and the music file, and the busy flag that keeps commands from running inside others.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "editor/editor_fixture.h"

namespace tollwen::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class EditorCommandsTest : public EditorTest {};

TEST_F(EditorCommandsTest, StartsWithNoLevelAndBlankGrid) {
  EXPECT_EQ(State().ResourceDir, resourceDir_);
  EXPECT_FALSE(Level().Shown());
  EXPECT_FALSE(State().ImageDirChosen);
  EXPECT_EQ(State().CurrentTile, '0');
  EXPECT_TRUE(Level().MusicName().empty());
  EXPECT_TRUE(Level().DataPath().empty());
  EXPECT_TRUE(Level().Picture().isNull());
  EXPECT_EQ(Level().Grid(), LevelGrid());
  EXPECT_FALSE(editor_.Busy());
  EXPECT_THAT(window_.Calls(), IsEmpty());

  // A resource directory given without its trailing separator gets one.
  FakeWindow other;
  Editor editor(other, "/opt/tollwen");
  EXPECT_EQ(editor.State().ResourceDir, "/opt/tollwen/");
}

TEST_F(EditorCommandsTest, CloseHidesLevelButKeepsItsContent) {
  const std::string dir = MakeDir("levels");
  WriteFileBytes(dir + "level1.dat", LevelText("tune.mod", RowsWithFirst("7000000000000000000")));
  Open(MakePicture(dir + "level1.jpg"));
  const QImage picture = Level().Picture();
  window_.ClearCalls();

  editor_.CloseLevel();

  EXPECT_FALSE(Level().Shown());
  EXPECT_FALSE(Level().Editable());
  EXPECT_THAT(window_.Calls(), ElementsAre("Display closed"));
  EXPECT_EQ(Level().Grid().CellAt(1, 1), '7');
  EXPECT_EQ(Level().MusicName(), "tune.mod");
  EXPECT_EQ(Level().DataPath(), dir + "level1.dat");
  EXPECT_EQ(Level().Picture(), picture);

  // New after Close shows a blank level on the same picture again.
  editor_.NewLevel();
  EXPECT_TRUE(Level().Shown());
  EXPECT_TRUE(Level().Editable());
  EXPECT_EQ(Level().Picture(), picture);
}

TEST_F(EditorCommandsTest, EditCommandsChangeNothingWhileNoLevelIsShown) {
  window_.clipboard = "55\n55\n";
  const auto editEverything = [this] {
    editor_.SelectAll();
    editor_.DeleteSelection();
    editor_.Cut();
    editor_.Paste({1, 1});
  };
  editEverything();  // no level yet
  EXPECT_FALSE(editor_.Modified());
  EXPECT_EQ(Level().Grid(), LevelGrid());

  Open(MakePicture(MakeDir("levels") + "level1.jpg"));
  editor_.Paste({1, 1});
  editor_.Tools().Confirm({1, 1});
  window_.AnswerSaveChanges(SaveChangesAnswer::Discard);
  editor_.CloseLevel();  // the pasted cells stay in the hidden grid
  const LevelGrid hidden = Level().Grid();
  ASSERT_EQ(hidden.CellAt(2, 2), '5');
  editEverything();
  EXPECT_EQ(Level().Grid(), hidden);
  EXPECT_EQ(window_.clipboard, "55\n55\n");
  EXPECT_FALSE(editor_.Modified());
}

TEST_F(EditorCommandsTest, RefreshRepaintsOnlyAnEnabledGrid) {
  editor_.RefreshDisplay();
  EXPECT_EQ(window_.RepaintCount(), 0);

  editor_.NewLevel();
  window_.ClearCalls();
  editor_.RefreshDisplay();
  EXPECT_THAT(window_.Calls(), ElementsAre("RepaintGrid"));
}

TEST_F(EditorCommandsTest, PaintWritesChosenTileAndRejectsWhatTheGridCannotHold) {
  // Painting does not look at LevelOpen: a stopped display still takes presses.
  editor_.ChooseTile('F');
  Paint(19, 13);
  editor_.ChooseTile('A');
  Paint(1, 1);
  EXPECT_EQ(Level().Grid().CellAt(19, 13), 'F');
  EXPECT_EQ(Level().Grid().CellAt(1, 1), 'A');
  EXPECT_THAT(window_.Calls(), IsEmpty());

  const LevelGrid before = Level().Grid();
  Paint(0, 1);
  Paint(20, 1);
  Paint(1, 0);
  Paint(1, 14);
  EXPECT_EQ(Level().Grid(), before);

  // Only palette codes become the current tile: anything else would later stop the display.
  for (const char code : {'a', 'G', ' ', '\x1a'}) {
    editor_.ChooseTile(code);
    EXPECT_EQ(State().CurrentTile, 'A') << static_cast<int>(code);
  }
}

TEST_F(EditorCommandsTest, SelectMusicKeepsFileNameOnly) {
  window_.AnswerMusicFile("/home/d/music/theme.xm");
  editor_.SelectMusic();
  EXPECT_EQ(Level().MusicName(), "theme.xm");

  window_.AnswerMusicFile(std::nullopt);
  editor_.SelectMusic();
  EXPECT_EQ(Level().MusicName(), "theme.xm");

  // A backslash is part of a file name here, not a directory separator.
  window_.AnswerMusicFile("/music/D:\\music\\song.s3m");
  editor_.SelectMusic();
  EXPECT_EQ(Level().MusicName(), "D:\\music\\song.s3m");
}

TEST_F(EditorCommandsTest, BusyThroughoutEveryWindowCallOfACommand) {
  const std::string dir = MakeDir("levels");
  const std::string picture = MakePicture(dir + "level1.jpg");
  int idleCalls = 0;
  window_.OnCall([&](const std::string&) {
    if (!editor_.Busy()) ++idleCalls;
  });

  Open(picture);
  window_.AnswerMusicFile("/m/x.mod");
  editor_.Save();
  window_.AnswerSaveFile(dir + "copy.dat");
  editor_.SaveAs();
  editor_.NewLevel();
  editor_.RefreshDisplay();
  editor_.CloseLevel();

  EXPECT_GT(window_.Calls().size(), 20u);
  EXPECT_EQ(idleCalls, 0);
  EXPECT_FALSE(editor_.Busy());
}

}  // namespace
}  // namespace tollwen::test
