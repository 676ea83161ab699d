// Every way a save can go (a new file, a replacement, in place through a symbolic link, in place
// for a hard-linked file, in place in a folder the user may not create files in), interrupted at
// each of its system calls in turn: killed there, as by a crash, or with that call failing, as
// on a failing disk. Whatever the moment, the data file must afterwards hold the whole old
// content or the whole new one as the editor next opens it, a save reported as done must have
// written the new content and one reported as failed must have left the old content exactly.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "level/errors.h"
#include "scratch_dir.h"
#include "storage/data_file.h"
#include "support/child_process.h"
#include "system_call_stop.h"
#include "uniform_level.h"

#if defined(__SANITIZE_ADDRESS__)
#define TOLLWEN_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TOLLWEN_SANITIZED 1
#endif
#endif

namespace tollwen {
namespace {

namespace fs = std::filesystem;
using testing::FilledGrid;
using testing::InterruptedRun;
using testing::Interruption;
using testing::LevelText;
using testing::ScratchDir;
using testing::WriteBytes;

// The new content is shorter than the old, so that a save also has to cut the file.
const std::string kOld = LevelText("an-old-tune-with-a-much-longer-name.mod", '5');
const std::string kNew = LevelText("new.mod", 'A');

std::optional<std::string> BytesAt(const std::string& path) {
  if (!fs::exists(fs::symlink_status(path))) return std::nullopt;
  return testing::ReadBytes(path);
}

std::string Named(const std::optional<std::string>& bytes) {
  if (!bytes) return "absent";
  if (*bytes == kOld) return "old";
  if (*bytes == kNew) return "new";
  return "mixed";
}

struct SavePath {
  const char* name;
  // Lays the level out in `dir`.
  std::function<void(const std::string& dir)> setUp;
  const char* saved;    // the path saved to, in `dir`
  const char* content;  // where the data file's content lies, in `dir`
  bool otherUser;       // saved by an unprivileged user
};

const SavePath kPaths[] = {
    {"new file", [](const std::string&) {}, "level.dat", "level.dat", false},
    {"replacement", [](const std::string& dir) { WriteBytes(dir + "/level.dat", kOld); },
     "level.dat", "level.dat", false},
    {"in place through a symbolic link",
     [](const std::string& dir) {
       fs::create_directory(dir + "/real");
       WriteBytes(dir + "/real/level.dat", kOld);
       fs::create_symlink("real/level.dat", dir + "/link.dat");
     },
     "link.dat", "real/level.dat", false},
    {"in place, hard-linked",
     [](const std::string& dir) {
       WriteBytes(dir + "/level.dat", kOld);
       fs::create_hard_link(dir + "/level.dat", dir + "/other.dat");
     },
     "level.dat", "level.dat", false},
    {"in place, read-only folder",
     [](const std::string& dir) {
       fs::create_directory(dir + "/shared");
       WriteBytes(dir + "/shared/level.dat", kOld);
       fs::permissions(dir + "/shared/level.dat", fs::perms(0666));
       fs::permissions(dir, fs::perms(0755));
     },
     "shared/level.dat", "shared/level.dat", true},
};

// In a child: becomes the user who saves on `path`, with that user's own state folder (its
// journals are not root's). "" when that worked.
std::string BecomeSaver(const SavePath& path, const std::string& probe) {
  if (!path.otherUser) return "";
  ::setenv("XDG_STATE_HOME", (fs::path(probe).parent_path() / "state-of-the-other-user").c_str(),
           1);
  return test::DropPrivileges(probe);
}

// What one interrupted save left: "old", "new", "absent" (a new file not yet there), "mixed, put
// back" (a mixed file, as any other reader sees it, that the saving user's next open puts back),
// or what is damaged. The level is opened by the user who saved it (`probe` lets the test drop
// to that user), since only that user's journal is trusted.
std::string Outcome(const SavePath& path, const std::string& dir, const InterruptedRun& run,
                    Interruption how, const std::string& probe) {
  const std::string content = dir + "/" + path.content;
  const std::string before = Named(BytesAt(content));
  const std::string untouched = &path == &kPaths[0] ? "absent" : "old";
  if (!run.interrupted && (run.report != "saved" || before != "new"))
    return "damaged: the save ran to its end (" + run.report + ") and left the file " + before;
  if (how == Interruption::kFail && run.report == "saved" && before != "new")
    return "damaged: reported saved, file " + before;
  if (how == Interruption::kFail && run.report.starts_with("threw") && before != untouched)
    return "damaged: failed (" + run.report + ") and left the file " + before;

  // The editor opens the level.
  std::string opened = test::RunInChild([&]() -> std::string {
    if (std::string problem = BecomeSaver(path, probe); !problem.empty()) return problem;
    LevelGrid grid;
    const std::string music = ReadDataFile(dir + "/" + path.saved, grid);
    const std::string now = Named(BytesAt(content));
    const bool readNew = music == "new.mod" && grid == FilledGrid('A');
    const bool readOld = grid == FilledGrid('5');
    if (!(now == "new" ? readNew : readOld)) return "damaged: read rows that are not the file's";
    return now;
  });
  if (opened.starts_with("damaged")) return opened;
  if (opened.starts_with("threw: "))
    opened = before == "absent" ? "absent" : "unreadable: " + opened.substr(7);
  if (opened != "old" && opened != "new" && opened != untouched)
    return "damaged: opened " + opened + " (was " + before + ")";
  if (fs::exists(dir + "/other.dat") && BytesAt(dir + "/other.dat") != BytesAt(content))
    return "damaged: the hard link was split";
  if (std::string(path.saved) == "link.dat" && !fs::is_symlink(dir + "/link.dat"))
    return "damaged: the symbolic link was replaced";
  return before == "mixed" ? "mixed, put back" : before;
}

// XDG_STATE_HOME for the duration of a test, where the unprivileged user keeps journals.
class StateHome {
 public:
  explicit StateHome(const std::string& path) {
    if (const char* old = std::getenv("XDG_STATE_HOME")) previous_ = old;
    fs::create_directory(path);
    fs::permissions(path, fs::perms(0777));
    ::setenv("XDG_STATE_HOME", path.c_str(), 1);
  }
  ~StateHome() {
    if (previous_)
      ::setenv("XDG_STATE_HOME", previous_->c_str(), 1);
    else
      ::unsetenv("XDG_STATE_HOME");
  }
  StateHome(const StateHome&) = delete;
  StateHome& operator=(const StateHome&) = delete;

 private:
  std::optional<std::string> previous_;
};

ino_t InodeOf(const std::string& path) {
  struct stat status {};
  ::stat(path.c_str(), &status);
  return status.st_ino;
}

class SaveCrashMatrixTest : public ::testing::TestWithParam<Interruption> {};

TEST_P(SaveCrashMatrixTest, DataFileIsWholeOldOrWholeNewAtEverySystemCall) {
#ifdef TOLLWEN_SANITIZED
  GTEST_SKIP() << "thousands of traced saves are too slow under the sanitizers";
#endif
  const Interruption how = GetParam();
  if (const std::string why = testing::InterruptionUnavailable(how); !why.empty())
    GTEST_SKIP() << why;
  // Memory-backed where there is one: fsync costs nothing there.
  ScratchDir scratch(fs::is_directory("/dev/shm") ? "/dev/shm" : "");
  fs::permissions(scratch.path(), fs::perms(0777));
  const StateHome state(scratch.File("state"));
  fs::create_directory(scratch.File("state-of-the-other-user"));
  fs::permissions(scratch.File("state-of-the-other-user"), fs::perms(0777));
  const std::string probe = scratch.File("probe");
  WriteBytes(probe, "probe");
  fs::permissions(probe, fs::perms(0444));

  int damaged = 0;
  for (const SavePath& path : kPaths) {
    std::map<std::string, int> outcomes;
    int calls = 0;
    for (int call = 1;; ++call) {
      ScratchDir dir(scratch.path());
      fs::permissions(dir.path(), fs::perms(0777));
      path.setUp(dir.path());
      const std::string saved = dir.File(path.saved);
      const InterruptedRun run =
          testing::RunInterrupted([&]() -> std::string { return BecomeSaver(path, probe); },
                                  [&]() -> std::string {
                                    WriteDataFile(saved, "new.mod", FilledGrid('A'));
                                    return "saved";
                                  },
                                  {.number = call}, how);
      if (!run.skipReason.empty()) GTEST_SKIP() << run.skipReason;
      const std::string outcome = Outcome(path, dir.path(), run, how, probe);
      fs::permissions(dir.path(), fs::perms(0777));
      if (outcome.starts_with("damaged")) {
        ++damaged;
        ADD_FAILURE() << path.name << ", system call " << call << ": " << outcome;
      }
      ++outcomes[outcome.starts_with("damaged") ? "damaged" : outcome];
      if (!run.interrupted) break;
      ++calls;
    }
    std::cout << (how == Interruption::kKill ? "killed" : "failed") << " at each of " << calls
              << " system calls, " << path.name << ":";
    for (const auto& [outcome, count] : outcomes) std::cout << " " << outcome << " " << count;
    std::cout << "\n";
  }
  EXPECT_EQ(damaged, 0);
}

// Copying the owner and attributes to the replacement file: where that is not permitted or not
// supported the file is written in place instead; any other error (a passing I/O error) fails
// the save with its message and leaves the file as it was, rather than quietly taking the other
// way.
TEST(SaveCopyFaultTest, OnlyARefusalToCopyTheOwnerOrAttributesWritesInPlace) {
  struct Case {
    const char* call;
    long systemCall;
    int error;
    std::string report;
    std::string left;  // "old", or "new" written in place (the same inode)
  };
  const Case cases[] = {
      {"fchown", SYS_fchown, EIO, "threw: I/O error 1117", "old"},
      {"fchown", SYS_fchown, EPERM, "saved", "new in place"},
      {"fchown", SYS_fchown, EINVAL, "saved", "new in place"},
      {"flistxattr", SYS_flistxattr, EIO, "threw: I/O error 1117", "old"},
      {"flistxattr", SYS_flistxattr, ENOMEM, "threw: I/O error 12", "old"},
      {"flistxattr", SYS_flistxattr, EPERM, "saved", "new in place"},
  };
  if (const std::string why = testing::InterruptionUnavailable(Interruption::kFail); !why.empty())
    GTEST_SKIP() << why;
  for (const Case& c : cases) {
    ScratchDir dir;
    const std::string path = dir.File("level.dat");
    WriteBytes(path, kOld);
    const ino_t inode = InodeOf(path);
    const InterruptedRun run = testing::RunInterrupted(
        [] { return std::string(); },
        [&]() -> std::string {
          WriteDataFile(path, "new.mod", FilledGrid('A'));
          return "saved";
        },
        {.number = 1, .systemCall = c.systemCall, .error = c.error}, Interruption::kFail);
    if (!run.skipReason.empty()) GTEST_SKIP() << run.skipReason;
    const std::string trace = std::string(c.call) + " failing with " + std::strerror(c.error);
    EXPECT_TRUE(run.interrupted) << trace;
    EXPECT_EQ(run.report, c.report) << trace;
    const std::string left = Named(BytesAt(path));
    EXPECT_EQ(left + (left == "new" && InodeOf(path) == inode ? " in place" : ""), c.left) << trace;
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"level.dat"}) << trace;
  }
}

INSTANTIATE_TEST_SUITE_P(KilledOrFailing, SaveCrashMatrixTest,
                         ::testing::Values(Interruption::kKill, Interruption::kFail),
                         [](const auto& info) {
                           return info.param == Interruption::kKill ? "Killed" : "Failing";
                         });

}  // namespace
}  // namespace tollwen
