// Open on a picture whose data file cannot be read: the error reaches the caller and no level
// is left open, so nothing is saved over that data file by accident.
//
// The data file is made unreadable for the editor by taking away write permission (the reader
// refuses a data file the editor could not save). Root ignores permission bits, so the scenario
// runs in a child process that has dropped to an unprivileged user.
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "editor/editor_fixture.h"
#include "level/errors.h"

namespace tollwen::test {
namespace {

constexpr uid_t kNobody = 65534;
constexpr const char* kScenarioDone = "scenario done";

// Runs `body` in a forked child that has given up root (if it had it) and returns what the
// body returned, or a description of how the child failed.
std::string RunUnprivileged(const std::function<std::string()>& body) {
  int fds[2];
  if (pipe(fds) != 0) return "pipe failed";
  const pid_t pid = fork();
  if (pid < 0) return "fork failed";
  if (pid == 0) {
    close(fds[0]);
    std::string result;
    if (geteuid() == 0 &&
        (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0)) {
      result = "could not drop privileges";
    } else {
      try {
        result = body();
      } catch (const std::exception& e) {
        result = std::string("unexpected exception: ") + e.what();
      } catch (...) {
        result = "unexpected exception";
      }
    }
    std::size_t written = 0;
    while (written < result.size()) {
      const auto n = write(fds[1], result.data() + written, result.size() - written);
      if (n <= 0) break;
      written += static_cast<std::size_t>(n);
    }
    _exit(0);
  }
  close(fds[1]);
  std::string output;
  char buffer[512];
  ssize_t n;
  while ((n = read(fds[0], buffer, sizeof buffer)) > 0) output.append(buffer, n);
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return "child crashed: " + output;
  return output;
}

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
  const std::string outcome = RunUnprivileged([&]() -> std::string {
    std::string failures;
    const auto check = [&](bool ok, const std::string& what) {
      if (!ok) failures += what + "; ";
    };
    // Never pass without the denial being real.
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
    const EditorState& state = editor.State();
    check(!state.LevelOpen, "level still open");
    check(!window.GridEnabled(), "grid still enabled");
    check(!editor.Busy(), "editor still busy");
    check(state.DataPath.empty(), "data path kept: " + state.DataPath);
    check(state.PictureDialogDir == dir, "picture dialog dir not taken over");
    const std::vector<std::string> expectedCalls = {
        "AskPictureFile " + dir, "RepaintGrid", "SetGridEnabled false", "SetGridEnabled true",
        "DrawPictureOnGrid",     "RepaintGrid", "SetGridEnabled false"};
    check(window.Calls() == expectedCalls, "unexpected window calls during the failed open");

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
