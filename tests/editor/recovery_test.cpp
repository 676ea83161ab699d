// Recovery after a crash: the unsaved level is kept in the user's state folder within two
// seconds of a change, goes when it is saved or discarded, and a level left behind is offered
// when its picture opens again.
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "editor/editor_fixture.h"
#include "storage/recovery_store.h"
#include "support/case_name.h"
#include "support/earlier_recovery_record.h"

namespace tollwen::test {
namespace {

using ::testing::StartsWith;

class RecoveryTest : public EditorTest {
 protected:
  RecoveryTest() : dir_(MakeDir("levels")), picture_(MakePicture(dir_ + "level1.jpg")) {
    WriteFileBytes(dir_ + "level1.dat", BlankLevelText("tune.mod"));
  }
  // The records of the level, held by a running editor or not, newest first.
  std::vector<RecoveredLevel> Records() const {
    std::vector<RecoveredLevel> levels;
    for (StoredRecord& record : RecoveryStore(RecoveryStore::DefaultFolder())
                                    .LeftFor(picture_, RecoveryStore::Held::kIncluded)) {
      levels.push_back(std::move(record.level));
    }
    return levels;
  }
  std::optional<RecoveredLevel> Record() const {
    const std::vector<RecoveredLevel> levels = Records();
    if (levels.empty()) return std::nullopt;
    return levels.front();
  }
  // Another editor opens the level, paints a bomb into (1, 1) and keeps its record; it crashes
  // when `crashed` goes (it ends without a word: its record stays).
  std::unique_ptr<Editor> PaintInAnotherEditor(FakeWindow& window) {
    auto other = std::make_unique<Editor>(window, resourceDir_);
    window.AnswerPictureFile(picture_);
    other->OpenLevel();
    other->ChooseTile('E');
    other->Tools().Step({0, 0}, {1, 1}, {}, false);
    other->Recovery().KeepNow();
    return other;
  }
  void CrashAfterPainting() {
    FakeWindow window;
    PaintInAnotherEditor(window);
  }
  // The questions about records asked so far.
  std::vector<std::string> RestoreQuestions() const {
    std::vector<std::string> asked;
    for (const std::string& call : window_.Calls())
      if (call.starts_with("AskRestore ")) asked.push_back(call.substr(11));
    return asked;
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
  // a record kept for later is neither written over nor removed, and the changes made since go
  // to a record of their own.
  editor_.ChooseTile('7');
  Paint(19, 13);
  editor_.Recovery().KeepNow();
  if (c.answer == RestoreAnswer::Later) {
    ASSERT_EQ(Records().size(), 2u);
    EXPECT_EQ(Records()[0].grid.CellAt(19, 13), '7');
    EXPECT_EQ(Records()[1].grid.CellAt(19, 13), '0');
    EXPECT_EQ(Records()[1].grid.CellAt(1, 1), 'E');
    editor_.EndSession();
    ASSERT_EQ(Records().size(), 1u);
    EXPECT_EQ(Records()[0].grid.CellAt(1, 1), 'E');
  }
  if (c.answer == RestoreAnswer::Restore) {
    editor_.Save();
    EXPECT_FALSE(Record());
    EXPECT_EQ(ReadFileBytes(dir_ + "level1.dat").substr(10, 1), "E");
  }
}

// While the editor that keeps a record runs, another editor opening the level is not asked about
// it and cannot delete it; once that editor has crashed, the record is offered.
TEST_F(RecoveryTest, ARunningEditorsRecordIsNotOfferedToAnother) {
  FakeWindow window;
  std::unique_ptr<Editor> running = PaintInAnotherEditor(window);
  window_.AnswerRestore(RestoreAnswer::Discard);
  Open(picture_);
  EXPECT_TRUE(RestoreQuestions().empty());
  EXPECT_TRUE(Record());
  running.reset();
  Open(picture_);
  EXPECT_EQ(RestoreQuestions().size(), 1u);
  EXPECT_FALSE(Record());
}

// A record remembers the data file it was based on: when the data file changed after it, the
// question says so and names a data file that is not the picture's own, and Save after Restore
// asks before writing over the newer file.
TEST_F(RecoveryTest, RestoredLevelAsksBeforeWritingOverANewerDataFile) {
  const std::string copy = dir_ + "copy.dat";
  WriteFileBytes(copy, BlankLevelText("copy.mod"));
  {
    FakeWindow window;
    Editor crashed(window, resourceDir_);
    window.AnswerPictureFile(picture_);
    crashed.OpenLevel();
    window.AnswerSaveFile(copy);
    crashed.SaveAs();
    crashed.ChooseTile('E');
    crashed.Tools().Step({0, 0}, {1, 1}, {}, false);
    crashed.Recovery().KeepNow();
  }
  const std::string pulled = BlankLevelText("pulled.mod");
  WriteFileBytes(copy, pulled);
  window_.AnswerRestore(RestoreAnswer::Restore);
  Open(picture_);
  ASSERT_EQ(RestoreQuestions().size(), 1u);
  EXPECT_THAT(RestoreQuestions()[0],
              StartsWith("Unsaved changes to level1.jpg (data file " + copy + ") from "));
  EXPECT_THAT(RestoreQuestions()[0], testing::MatchesRegex(".* Restore them\\? The data file was "
                                                           "saved at [0-9:]+, after these "
                                                           "changes\\."));
  EXPECT_EQ(Level().Grid().CellAt(1, 1), 'E');
  editor_.Save();
  EXPECT_THAT(window_.Calls().back(), StartsWith("AskOverwrite The data file " + copy));
  EXPECT_EQ(ReadFileBytes(copy), pulled);
}

// A record of the earlier version did not note the data file: the question says nothing of when
// that was saved, the user is not asked to reload it, and Save asks before writing over it.
// This session's record, the data file still unknown, takes the earlier one's place.
TEST_F(RecoveryTest, ARestoredRecordOfTheEarlierVersionAsksBeforeWritingOverTheDataFile) {
  RecoveredLevel kept{picture_, dir_ + "level1.dat", "tune.mod", {}, 1000000000, {}};
  kept.grid.SetCell(1, 1, 'E');
  const std::string earlier = RecoveryStore::DefaultFolder() + EarlierRecordName(picture_);
  std::filesystem::create_directories(RecoveryStore::DefaultFolder());
  WriteFileBytes(earlier, EarlierRecordText(kept));
  window_.AnswerRestore(RestoreAnswer::Restore);
  Open(picture_);
  EXPECT_THAT(RestoreQuestions(), testing::ElementsAre(testing::EndsWith("Restore them?")));
  EXPECT_EQ(Level().Grid().CellAt(1, 1), 'E');
  editor_.TakeInOutsideChange(true);  // the window is active again
  editor_.Recovery().KeepNow();
  ASSERT_EQ(Records().size(), 1u);
  EXPECT_FALSE(Records()[0].dataStamp.known);
  EXPECT_FALSE(PathExists(earlier));
  editor_.Save();
  EXPECT_EQ(window_.Calls().back(), "AskOverwrite The data file " + dir_ +
                                        "level1.dat may have changed on disk since these "
                                        "changes were made. Overwrite it?");
  EXPECT_EQ(ReadFileBytes(dir_ + "level1.dat"), BlankLevelText("tune.mod"));
  EXPECT_THAT(window_.Calls(), testing::Not(testing::Contains(StartsWith("AskReload "))));
}

INSTANTIATE_TEST_SUITE_P(
    Answers, RestoreTest,
    ::testing::Values(RestoreCase{"Restore", RestoreAnswer::Restore, false, 'E', true},
                      RestoreCase{"RestoreAtStartUp", RestoreAnswer::Restore, true, 'E', true},
                      RestoreCase{"Discard", RestoreAnswer::Discard, false, '0', false},
                      RestoreCase{"Later", RestoreAnswer::Later, false, '0', true}),
    CaseName());

}  // namespace
}  // namespace tollwen::test
