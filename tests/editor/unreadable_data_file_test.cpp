// Open on a picture whose data file cannot be read: the error reaches the caller and no level
// is left open, so nothing is saved over that data file by accident.
//
// The data file is made unreadable for the editor by taking away write permission (the reader
// refuses a data file the editor could not save). Root ignores permission bits, so the scenario
// runs in a child process that has dropped to an unprivileged user.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "editor/editor_fixture.h"
#include "level/errors.h"
#include "support/child_process.h"

namespace tollwen::test {
namespace {

constexpr const char* kScenarioDone = "scenario done";

class UnreadableDataFileTest : public EditorTest {};

TEST_F(UnreadableDataFileTest, FailedReadLeavesNoLevelOpenAndSaveAsksForFile) {
  namespace fs = std::filesystem;
  const std::string dir = MakeDir("levels");
  const std::string first = MakePicture(dir + "first.jpg");
  const std::string firstLevel = LevelText("first.mod", RowsWithFirst("1111111111111111111"));
  WriteFileBytes(dir + "first.dat", firstLevel);
  const std::string second = MakePicture(dir + "second.jpg");
  const std::string secondLevel = LevelText("second.mod", RowsWithFirst("2222222222222222222"));
  WriteFileBytes(dir + "second.dat", secondLevel);

  const auto readable = fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                        fs::perms::others_read | fs::perms::others_exec;
  fs::permissions(root_, readable);
  fs::permissions(dir, readable);
  // The first level's data file stays writable for the unprivileged child.
  fs::permissions(dir + "first.dat", fs::perms::owner_read | fs::perms::owner_write |
                                         fs::perms::group_read | fs::perms::group_write |
                                         fs::perms::others_read | fs::perms::others_write);
  fs::permissions(dir + "second.dat",
                  fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);

  const std::string resourceDir = resourceDir_;
  const std::string outcome = RunInChild([&]() -> std::string {
    // Never pass without the denial being real: the read-only data file itself proves that
    // the child no longer bypasses permission bits.
    if (std::string problem = DropPrivileges(dir + "second.dat"); !problem.empty()) return problem;
    std::string failures;
    const auto check = [&](bool ok, const std::string& what) {
      if (!ok) failures += what + "; ";
    };
    if (access((dir + "second.dat").c_str(), W_OK) == 0) return "data file still writable";
    if (access((dir + "second.dat").c_str(), R_OK) != 0) return "data file not readable";

    FakeWindow window;
    Editor editor(window, resourceDir);
    window.AnswerPictureFile(first);
    editor.OpenLevel();
    window.ClearCalls();

    window.AnswerPictureFile(second);
    std::string error;
    try {
      editor.OpenLevel();
    } catch (const InOutError& e) {
      error = e.what();
    }
    check(error == "File access denied", "error was '" + error + "'");
    const LevelDocument& level = editor.Level();
    check(!level.Editable(), "level still open");
    check(!editor.Busy(), "editor still busy");
    check(level.DataPath().empty(), "data path kept: " + level.DataPath());
    check(editor.State().PictureDialogDir == dir, "picture dialog dir not taken over");

    // Neither Save nor New followed by Save writes anywhere without a chosen file.
    window.ClearCalls();
    editor.Save();
    check(window.SaveDirsAsked().size() == 1, "Save did not ask for a file");
    editor.NewLevel();
    window.AnswerMusicFile(std::nullopt);
    editor.Save();
    check(window.SaveDirsAsked().size() == 2, "Save after New did not ask for a file");
    check(window.Messages().empty(), "a message was shown");
    return failures.empty() ? kScenarioDone : failures;
  });

  EXPECT_EQ(outcome, kScenarioDone);
  EXPECT_EQ(ReadFileBytes(dir + "first.dat"), firstLevel);
  EXPECT_EQ(ReadFileBytes(dir + "second.dat"), secondLevel);
}

}  // namespace
}  // namespace tollwen::test
