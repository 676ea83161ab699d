// File > Open: taking over a picture, pairing it with its data file, and what is left when
// the picture or the data file cannot be used.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "editor/editor_fixture.h"
#include "level/errors.h"
#include "level/level_picture.h"
#include "storage/picture_file.h"
#include "storage/recovery_store.h"
#include "support/jpeg_writer.h"

namespace tollwen::test {
namespace {

using ::testing::ElementsAre;

class OpenLevelTest : public EditorTest {};

TEST_F(OpenLevelTest, OpenTakesOverPictureAndDataFile) {
  const std::string dir = MakeDir("levels");
  const std::string picture = MakePicture(dir + "level1.jpg");
  WriteFileBytes(dir + "level1.dat", LevelText("tune.mod", RowsWithFirst("123456789ABCDEF0000")));

  // The grid is asked to draw the picture only once the document holds it.
  QImage pictureWhenDrawn;
  window_.OnCall([&](const std::string& call) {
    if (call == "Picture laid over the grid") pictureWhenDrawn = Level().Picture();
  });
  Open(picture);

  EXPECT_TRUE(Level().Shown());
  EXPECT_TRUE(State().ImageDirChosen);
  EXPECT_EQ(Level().DataPath(), dir + "level1.dat");
  EXPECT_EQ(Level().MusicName(), "tune.mod");
  EXPECT_EQ(State().PictureDialogDir, dir);
  EXPECT_EQ(Level().Grid().CellAt(1, 1), '1');
  EXPECT_EQ(Level().Grid().CellAt(15, 1), 'F');
  EXPECT_EQ(Level().Grid().CellAt(19, 13), '0');
  EXPECT_EQ(Level().Picture().size(), QSize(640, 447));
  EXPECT_EQ(Level().Picture(), LoadJpegIntoBitmap(picture));
  EXPECT_EQ(pictureWhenDrawn.size(), QSize(640, 447));
  EXPECT_TRUE(window_.Messages().empty());
  EXPECT_TRUE(Level().Editable());
}

TEST_F(OpenLevelTest, OpenWithoutDataFileStartsBlankLevelAndSaveCreatesIt) {
  const std::string dir = MakeDir("levels");
  const std::string first = MakePicture(dir + "first.jpg");
  WriteFileBytes(dir + "first.dat", LevelText("first.mod", RowsWithFirst("FFFFFFFFFFFFFFFFFFF")));
  Open(first);
  window_.ClearCalls();

  const std::string second = MakePicture(dir + "second.jpg");
  Open(second);

  EXPECT_TRUE(Level().Shown());
  EXPECT_EQ(Level().DataPath(), dir + "second.dat");
  EXPECT_EQ(Level().Grid(), LevelGrid());
  // The music name is kept from the previous level; nothing is written yet.
  EXPECT_EQ(Level().MusicName(), "first.mod");
  EXPECT_FALSE(PathExists(dir + "second.dat"));
  EXPECT_THAT(window_.Calls(),
              ElementsAre("AskPictureFile " + dir, "Display closed", "Picture laid over the grid",
                          std::string("ShowMessage ") + kNoDataFileMessage, "Display shown"));

  window_.ClearCalls();
  editor_.Save();
  EXPECT_EQ(ReadFileBytes(dir + "second.dat"), BlankLevelText("first.mod"));
  EXPECT_THAT(window_.Messages(), ElementsAre(kSavedMessage));
  EXPECT_EQ(ReadFileBytes(dir + "first.dat"),
            LevelText("first.mod", RowsWithFirst("FFFFFFFFFFFFFFFFFFF")));
}

TEST_F(OpenLevelTest, DirectoryNamedLikeDataFileCountsAsMissing) {
  const std::string dir = MakeDir("levels");
  const std::string picture = MakePicture(dir + "level1.jpg");
  std::filesystem::create_directory(dir + "level1.dat");

  Open(picture);

  EXPECT_TRUE(Level().Shown());
  EXPECT_EQ(Level().Grid(), LevelGrid());
  EXPECT_THAT(window_.Messages(), ElementsAre(kNoDataFileMessage));
}

TEST_F(OpenLevelTest, WrongSizedPictureIsRefusedAndNothingChanges) {
  const std::string dir = MakeDir("levels");
  const std::string picture = MakePicture(dir + "good.jpg");
  WriteFileBytes(dir + "good.dat", LevelText("good.mod", RowsWithFirst("1200000000000000003")));
  Open(picture);
  editor_.ChooseTile('7');
  Paint(5, 5);

  for (const auto& [width, height] : std::vector<std::pair<int, int>>{{640, 448}, {447, 640}}) {
    SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
    const std::string otherDir = MakeDir("other" + std::to_string(width));
    const std::string wrong = MakePicture(otherDir + "wrong.jpg", width, height);
    WriteFileBytes(otherDir + "wrong.dat", BlankLevelText("wrong.mod"));
    const std::string dataPath = Level().DataPath();
    const std::string musicName = Level().MusicName();
    const std::string pictureDir = State().PictureDialogDir;
    const LevelGrid grid = Level().Grid();
    const QImage picture = Level().Picture();
    window_.ClearCalls();

    window_.AnswerSaveChanges(SaveChangesAnswer::Discard);
    Open(wrong);

    EXPECT_THAT(window_.Calls(), ElementsAre(kAskBeforeOpen, "AskPictureFile " + dir,
                                             std::string("ShowMessage ") + kWrongSizeMessage));
    EXPECT_TRUE(Level().Shown());
    EXPECT_TRUE(Level().Editable());
    EXPECT_EQ(Level().DataPath(), dataPath);
    EXPECT_EQ(Level().MusicName(), musicName);
    EXPECT_EQ(State().PictureDialogDir, pictureDir);
    EXPECT_EQ(Level().Grid(), grid);
    EXPECT_EQ(Level().Grid().CellAt(5, 5), '7');
    EXPECT_EQ(Level().Picture(), picture);
  }
}

TEST_F(OpenLevelTest, FirstPictureRefusedLeavesNoLevel) {
  const std::string dir = MakeDir("levels");
  const std::string picture = MakePicture(dir + "wide.jpg", 641, 447);

  Open(picture);

  EXPECT_THAT(window_.Messages(), ElementsAre(kWrongSizeMessage));
  EXPECT_FALSE(Level().Shown());
  EXPECT_FALSE(State().ImageDirChosen);
  EXPECT_TRUE(Level().DataPath().empty());
  EXPECT_TRUE(Level().Picture().isNull());
  // The first Open starts in the home folder, the next one in the folder used last.
  Open(picture);
  EXPECT_THAT(window_.PictureDirsAsked(), ElementsAre(home_, dir));
}

TEST_F(OpenLevelTest, CancelAndUndecodablePicturesChangeNothing) {
  const std::string dir = MakeDir("levels");
  Open(MakePicture(dir + "good.jpg"));
  const std::string dataPath = Level().DataPath();
  const QImage picture = Level().Picture();
  window_.ClearCalls();

  window_.AnswerPictureFile(std::nullopt);
  editor_.OpenLevel();
  EXPECT_THAT(window_.Calls(), ElementsAre("AskPictureFile " + dir));

  // A PNG under a .jpg name and a file that is not there both fail in the decoder.
  const std::string png = dir + "fake.jpg";
  ASSERT_TRUE(PatternImage({}).save(QString::fromStdString(png), "PNG"));
  EXPECT_THROW(Open(png), JpegError);
  EXPECT_THROW(Open(dir + "missing.jpg"), FileOpenError);

  EXPECT_TRUE(Level().Shown());
  EXPECT_EQ(Level().DataPath(), dataPath);
  EXPECT_EQ(Level().Picture(), picture);
  EXPECT_EQ(State().PictureDialogDir, dir);
  EXPECT_TRUE(window_.Messages().empty());
  EXPECT_FALSE(editor_.Busy());
}

TEST_F(OpenLevelTest, OpenAfterOpenStartsInLastPictureDirAndDiscardsEditsWhenTold) {
  const std::string a = MakeDir("a");
  const std::string b = MakeDir("b");
  const std::string level = LevelText("one.mod", RowsWithFirst("1111111111111111111"));
  WriteFileBytes(a + "one.dat", level);
  Open(MakePicture(a + "one.jpg"));
  editor_.ChooseTile('9');
  Paint(1, 1);

  window_.AnswerSaveChanges(SaveChangesAnswer::Discard);
  Open(MakePicture(b + "two.jpg"));
  window_.AnswerPictureFile(std::nullopt);
  editor_.OpenLevel();

  EXPECT_EQ(window_.CountOf(kAskBeforeOpen), 1);
  EXPECT_THAT(window_.PictureDirsAsked(), ElementsAre(home_, a, b));
  EXPECT_TRUE(window_.SaveDirsAsked().empty());
  EXPECT_THAT(window_.Messages(), ElementsAre(kNoDataFileMessage));
  EXPECT_EQ(ReadFileBytes(a + "one.dat"), level);
}

TEST_F(OpenLevelTest, SaveAsThenSaveWritesNewNameUntilNextOpen) {
  const std::string dir = MakeDir("levels");
  const std::string picture = MakePicture(dir + "level1.jpg");
  const std::string original = LevelText("tune.mod", RowsWithFirst("1000000000000000000"));
  WriteFileBytes(dir + "level1.dat", original);
  Open(picture);

  window_.AnswerSaveFile(dir + "copy.dat");
  editor_.SaveAs();
  editor_.ChooseTile('2');
  Paint(2, 1);
  editor_.Save();

  const std::string edited = LevelText("tune.mod", RowsWithFirst("1200000000000000000"));
  EXPECT_EQ(ReadFileBytes(dir + "copy.dat"), edited);
  EXPECT_EQ(ReadFileBytes(dir + "level1.dat"), original);
  EXPECT_THAT(window_.Messages(), ElementsAre(kSavedMessage, kSavedMessage));

  Open(picture);
  EXPECT_EQ(Level().DataPath(), dir + "level1.dat");
  EXPECT_EQ(Level().Grid().CellAt(2, 1), '0');
}

TEST_F(OpenLevelTest, NextAndPreviousLevelOpenTheNeighbouringPicturesAsOpenDoes) {
  const std::string dir = MakeDir("pack");
  for (const char* name : {"level1.jpg", "level2.jpg", "level10.jpg"}) MakePicture(dir + name);
  WriteFileBytes(dir + "level2.dat", LevelText("two.mod", RowsWithFirst("2000000000000000000")));

  editor_.OpenNextLevel();  // no level open: nothing
  EXPECT_TRUE(window_.Calls().empty());

  Open(dir + "level1.jpg");
  editor_.OpenNextLevel();
  EXPECT_EQ(Level().PicturePath(), dir + "level2.jpg");
  EXPECT_EQ(Level().MusicName(), "two.mod");  // its data file read as Open reads it

  // An edited level asks first; Cancel stays.
  editor_.ChooseTile('7');
  Paint(5, 5);
  window_.ClearCalls();
  editor_.OpenNextLevel();
  EXPECT_THAT(window_.Calls(), ElementsAre(kAskBeforeOpen));
  EXPECT_EQ(Level().PicturePath(), dir + "level2.jpg");
  window_.AnswerSaveChanges(SaveChangesAnswer::Discard);
  editor_.OpenNextLevel();
  EXPECT_EQ(Level().PicturePath(), dir + "level10.jpg");

  // At either end a note says so, and nothing is asked.
  Paint(5, 5);
  window_.ClearCalls();
  editor_.OpenNextLevel();
  EXPECT_THAT(window_.Calls(), ElementsAre("ShowNote Last level of this folder"));
  window_.AnswerSaveChanges(SaveChangesAnswer::Discard);
  editor_.OpenPreviousLevel();
  EXPECT_EQ(Level().PicturePath(), dir + "level2.jpg");
  editor_.OpenPreviousLevel();
  window_.ClearCalls();
  editor_.OpenPreviousLevel();
  EXPECT_THAT(window_.Calls(), ElementsAre("ShowNote First level of this folder"));
}

struct UnusableLevel {
  const char* name;
  const char* picture;  // what level2.jpg holds: "good", "wide" (641 x 447) or "text"
  bool lineTooLong;     // level2.dat has a line longer than any data file, and is refused
  const char* error;    // how the message starts
  bool levelStays;      // the edited level stays, with its record
};

class UnusableNeighbourTest : public OpenLevelTest,
                              public ::testing::WithParamInterface<UnusableLevel> {};

// Next Level steps past a level that cannot be opened, naming its file. The discarded changes
// go only once another level replaces them: a refused picture leaves them (and their record);
// a refused data file closes the level.
TEST_P(UnusableNeighbourTest, NextLevelNamesTheFileAndTheNextPressGoesOnFromIt) {
  const UnusableLevel& c = GetParam();
  const std::string dir = MakeDir("pack");
  for (const char* name : {"level1.jpg", "level2.jpg", "level3.jpg"}) MakePicture(dir + name);
  if (c.picture == std::string("wide")) MakePicture(dir + "level2.jpg", 641, 447);
  if (c.picture == std::string("text")) WriteFileBytes(dir + "level2.jpg", "not a picture");
  WriteFileBytes(dir + "level2.dat", c.lineTooLong ? std::string(70000, '0') : "");
  Open(dir + "level1.jpg");
  editor_.ChooseTile('7');
  Paint(5, 5);
  editor_.Recovery().KeepNow();
  window_.ClearCalls();

  window_.AnswerSaveChanges(SaveChangesAnswer::Discard);
  std::string error;
  try {
    editor_.OpenNextLevel();
  } catch (const EditorError& e) {
    error = e.what();
  }
  if (error.empty() && !window_.Messages().empty()) error = window_.Messages().back();
  EXPECT_THAT(error, ::testing::StartsWith(c.error));
  EXPECT_EQ(Level().Shown(), c.levelStays);
  EXPECT_EQ(editor_.Modified(), c.levelStays);
  EXPECT_EQ(RecoveryStore(RecoveryStore::DefaultFolder())
                .LeftFor(dir + "level1.jpg", RecoveryStore::Held::kIncluded)
                .empty(),
            !c.levelStays);

  window_.AnswerSaveChanges(SaveChangesAnswer::Discard);
  editor_.OpenNextLevel();
  EXPECT_EQ(Level().PicturePath(), dir + "level3.jpg");
}

INSTANTIATE_TEST_SUITE_P(
    Levels, UnusableNeighbourTest,
    ::testing::Values(
        UnusableLevel{"WrongSize", "wide", false, "level2.jpg: Error: Image must be 640x447", true},
        UnusableLevel{"NotAPicture", "text", false, "level2.jpg: JPEG error #", true},
        UnusableLevel{"DataFileRefused", "good", true, "level2.dat: Error: Line 1 ", false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tollwen::test
