// Recovery after a crash: the unsaved level is kept in the user's state folder within two
// seconds of a change, goes when it is saved or discarded, and a level left behind is offered
// when its picture opens again.
#include <QTest>
#include <algorithm>
#include <functional>
#include <memory>
#include <string>

#include "editor/editor_fixture.h"
#include "level/recovery_store.h"

namespace tollwen::test {
namespace {

using ::testing::StartsWith;

class RecoveryTest : public EditorTest {
 protected:
  RecoveryTest() : dir_(MakeDir("levels")), picture_(MakePicture(dir_ + "level1.jpg")) {
    WriteFileBytes(dir_ + "level1.dat", BlankLevelText("tune.mod"));
  }
  std::optional<RecoveredLevel> Record() const {
    return RecoveryStore(RecoveryStore::DefaultFolder()).Find(picture_);
  }
  // Another editor opens the level, paints a bomb into (1, 1) and is killed once its record
  // has been written.
  void CrashAfterPainting() {
    FakeWindow window;
    Editor crashed(window, resourceDir_);
    window.AnswerPictureFile(picture_);
    crashed.OpenLevel();
    crashed.ChooseTile('E');
    crashed.Tools().Step({0, 0}, {1, 1}, {}, false);
    crashed.Recovery().KeepNow();
  }

  std::string dir_;
  std::string picture_;
};

TEST_F(RecoveryTest, KeptWithinTwoSecondsOfAChangeAndGoneOnceSavedDiscardedOrUndone) {
  Open(picture_);
  editor_.ChooseTile('5');
  Paint(3, 2);
  ASSERT_TRUE(QTest::qWaitFor([this] { return Record().has_value(); }, 2500));
  EXPECT_EQ(Record()->grid.CellAt(3, 2), '5');
  EXPECT_EQ(Record()->dataPath, dir_ + "level1.dat");
  EXPECT_EQ(Record()->musicName, "tune.mod");

  editor_.Undo();  // back to what the data file holds
  editor_.Recovery().KeepNow();
  EXPECT_FALSE(Record());

  char tile = '6';
  for (const auto& end :
       std::vector<std::function<void()>>{[this] { editor_.Save(); },
                                          [this] {
                                            window_.AnswerSaveChanges(SaveChangesAnswer::Discard);
                                            editor_.NewLevel();
                                          },
                                          [this] { editor_.EndSession(); }}) {
    if (!Level().Shown()) Open(picture_);
    editor_.ChooseTile(tile++);
    Paint(4, 2);
    editor_.Recovery().KeepNow();
    ASSERT_TRUE(Record());
    end();
    EXPECT_FALSE(Record());
  }
}

struct RestoreCase {
  const char* name;
  RestoreAnswer answer;
  bool atStartUp;  // offered at start-up rather than when the picture is opened
  TileCode cell;   // what (1, 1) holds afterwards
  bool recordStays;
};

class RestoreTest : public RecoveryTest, public ::testing::WithParamInterface<RestoreCase> {};

TEST_P(RestoreTest, ALevelLeftBehindIsOfferedOnceItsPictureIsShown) {
  const RestoreCase& c = GetParam();
  CrashAfterPainting();
  ASSERT_TRUE(Record());

  window_.AnswerRestore(c.answer);
  if (c.atStartUp) {
    editor_.OfferNewestRecovery();
  } else {
    Open(picture_);
  }
  // The question comes once the level is on the grid.
  const auto& calls = window_.Calls();
  const auto asked = std::find_if(calls.begin(), calls.end(), [](const std::string& call) {
    return call.starts_with("AskRestore ");
  });
  ASSERT_NE(asked, calls.end());
  ASSERT_NE(asked, calls.begin());
  EXPECT_EQ(*(asked - 1), "Display shown");
  EXPECT_THAT(*asked, StartsWith("AskRestore Unsaved changes to level1.jpg from "));
  EXPECT_THAT(*asked, testing::EndsWith(" were found. Restore them?"));

  EXPECT_EQ(Level().Grid().CellAt(1, 1), c.cell);
  EXPECT_EQ(editor_.Modified(), c.answer == RestoreAnswer::Restore);
  EXPECT_FALSE(Level().History().canUndo());
  EXPECT_EQ(Record().has_value(), c.recordStays);

  // What the session does next: a restored level saves to its data file and its record goes;
  // a record kept for later is neither written over nor removed.
  Paint(19, 13);
  editor_.Recovery().KeepNow();
  if (c.answer == RestoreAnswer::Later) {
    EXPECT_EQ(Record()->grid.CellAt(19, 13), '0');
    editor_.EndSession();
    EXPECT_TRUE(Record());
  }
  if (c.answer == RestoreAnswer::Restore) {
    editor_.Save();
    EXPECT_FALSE(Record());
    EXPECT_EQ(ReadFileBytes(dir_ + "level1.dat").substr(10, 1), "E");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, RestoreTest,
    ::testing::Values(RestoreCase{"Restore", RestoreAnswer::Restore, false, 'E', true},
                      RestoreCase{"RestoreAtStartUp", RestoreAnswer::Restore, true, 'E', true},
                      RestoreCase{"Discard", RestoreAnswer::Discard, false, '0', false},
                      RestoreCase{"Later", RestoreAnswer::Later, false, '0', true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tollwen::test
