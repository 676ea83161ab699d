// Changes other programs make to the open level's data file, and what Save does afterwards.
#include <fcntl.h>
#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "editor/editor_fixture.h"

namespace tollwen::test {
namespace {

struct OutsideChange {
  const char* name;
  bool edited;         // the level has unsaved changes
  const char* onDisk;  // "rewritten" (renamed over, a 9 in (1, 1)), "refused", "touched", "deleted"
  bool reload;         // the answer, if asked
  const char* shown;   // the note or question, told once; {data} stands for the data file's path
  TileCode cell;       // (1, 1) afterwards
  const char* saveAsks;  // the question Save asks after the next edit
};

class OutsideChangeTest : public EditorTest, public ::testing::WithParamInterface<OutsideChange> {
 protected:
  std::string Expanded(std::string text) const {
    if (const auto at = text.find("{data}"); at != std::string::npos) text.replace(at, 6, data_);
    return text;
  }
  std::string data_;
};

TEST_P(OutsideChangeTest, IsTakenInAskedAboutOrNoted) {
  const OutsideChange& c = GetParam();
  const std::string dir = MakeDir("levels");
  data_ = dir + "level1.dat";
  WriteFileBytes(data_, BlankLevelText("tune.mod"));
  Open(MakePicture(dir + "level1.jpg"));
  editor_.ChooseTile('7');
  if (c.edited) Paint(2, 1);
  const std::string onDisk(c.onDisk);
  const std::string theirs = onDisk == "refused"
                                 ? std::string(70000, '9')
                                 : LevelText("tune.mod", RowsWithFirst("9000000000000000000"));
  WriteFileBytes(data_ + ".new", theirs);
  const timespec times[2] = {{1, 0}, {1, 0}};
  const int failed = onDisk == "touched"   ? ::utimensat(AT_FDCWD, data_.c_str(), times, 0)
                     : onDisk == "deleted" ? std::remove(data_.c_str())
                                           : std::rename((data_ + ".new").c_str(), data_.c_str());
  ASSERT_EQ(failed, 0);
  const std::string before = PathExists(data_) ? ReadFileBytes(data_) : "";
  window_.ClearCalls();

  const std::string shown = Expanded(c.shown);
  window_.AnswerReload(c.reload);
  editor_.TakeInOutsideChange(false);  // the window is not active: only a question waits
  EXPECT_EQ(window_.CountOf(shown), shown.empty() || shown.starts_with("AskReload") ? 0 : 1);
  editor_.TakeInOutsideChange(true);
  editor_.TakeInOutsideChange(true);
  EXPECT_EQ(window_.CountOf(shown), shown.empty() ? 0 : 1);
  EXPECT_EQ(Level().Grid().CellAt(1, 1), c.cell);
  EXPECT_EQ(Level().History().canUndo(), c.edited && !c.reload);

  Paint(3, 1);
  window_.ClearCalls();
  editor_.Save();
  if (*c.saveAsks) {
    EXPECT_EQ(window_.Calls().front(), Expanded(c.saveAsks));
    EXPECT_EQ(PathExists(data_) ? ReadFileBytes(data_) : "", before);
  } else {
    EXPECT_THAT(window_.Messages(), ::testing::ElementsAre(kSavedMessage));
  }
}

constexpr const char* kChanged = "The data file {data} changed on disk";
const std::string kOverwrite =
    "AskOverwrite " + std::string(kChanged) + " since it was opened. Overwrite it?";
const std::string kReload =
    "AskReload " + std::string(kChanged) + ". Reload it and lose your changes?";

INSTANTIATE_TEST_SUITE_P(
    Changes, OutsideChangeTest,
    ::testing::Values(
        OutsideChange{"Reloaded", false, "rewritten", false,
                      "ShowNote level1.dat changed on disk and was reloaded", '9', ""},
        OutsideChange{"RefusedIsNoted", false, "refused", false,
                      "ShowNote level1.dat changed on disk and cannot be read: Error: Line 1 of "
                      "the data file is longer than 65536 bytes!",
                      '0', kOverwrite.c_str()},
        OutsideChange{"TouchedIsNoChange", true, "touched", false, "", '0', ""},
        OutsideChange{"Kept", true, "rewritten", false, kReload.c_str(), '0', kOverwrite.c_str()},
        OutsideChange{"ReloadedOnRequest", true, "rewritten", true, kReload.c_str(), '9', ""},
        OutsideChange{"DeletedIsNoted", false, "deleted", false,
                      "ShowNote level1.dat was deleted on disk", '0',
                      "AskOverwrite The data file {data} was deleted on disk since it was "
                      "opened. Write it again?"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tollwen::test
