// Failures that need the operating system's cooperation: permission checks (which the
// superuser bypasses) and writes that fail partway. Each runs in a forked child so that a
// dropped identity or a lowered resource limit cannot leak into other tests.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "level/errors.h"
#include "scratch_dir.h"
#include "storage/data_file.h"
#include "support/child_process.h"

namespace tollwen {
namespace {

using test::DropPrivileges;
using test::RunInChild;
using testing::ReadBytes;
using testing::ScratchDir;
using testing::WriteBytes;

std::string WellFormedFile(const std::string& music) {
  std::string file = music + "\r\n";
  for (int row = 1; row <= LevelGrid::kRows; ++row) file += "0123456789ABCDEF012\r\n";
  return file;
}

// A directory the unprivileged user can reach, with a 0444 probe file in it.
class DeniedAccessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(::chmod(dir_.path().c_str(), 0777), 0);
    WriteBytes(probe_, "probe");
    ASSERT_EQ(::chmod(probe_.c_str(), 0444), 0);
  }

  ScratchDir dir_{"/tmp"};
  std::string probe_ = dir_.File("probe");
};

TEST_F(DeniedAccessTest, ReadOnlyDataFileIsRefusedAlthoughReadable) {
  const std::string path = dir_.File("level1.dat");
  WriteBytes(path, WellFormedFile("tune.mod"));
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);

  const std::string result = RunInChild([&]() -> std::string {
    if (std::string problem = DropPrivileges(probe_); !problem.empty()) return problem;
    if (ReadBytes(path) != WellFormedFile("tune.mod")) return "the file could not be read";
    LevelGrid grid;
    grid.SetCell(4, 4, '9');
    try {
      ReadDataFile(path, grid);
    } catch (const InOutError& error) {
      if (grid.CellAt(4, 4) != '9' || grid.CellAt(1, 1) != '0') return "grid changed";
      return error.what();
    }
    return "read succeeded";
  });
  EXPECT_EQ(result, "File access denied");
}

TEST_F(DeniedAccessTest, SaveOverReadOnlyFileIsRefusedAndChangesNothing) {
  const std::string path = dir_.File("level1.dat");
  const std::string original = WellFormedFile("tune.mod");
  WriteBytes(path, original);
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);

  // The directory is writable, so only the file's own permission can stop the save.
  const std::string result = RunInChild([&]() -> std::string {
    if (std::string problem = DropPrivileges(probe_); !problem.empty()) return problem;
    WriteDataFile(path, "other.mod", LevelGrid());
    return "save succeeded";
  });
  EXPECT_EQ(result, "threw: File access denied");
  EXPECT_EQ(ReadBytes(path), original);
  EXPECT_EQ(dir_.Names(), (std::vector<std::string>{"level1.dat", "probe"}));
}

TEST_F(DeniedAccessTest, SaveInReadOnlyDirectoryIsRefusedAndChangesNothing) {
  const std::string sub = dir_.File("sub");
  ASSERT_EQ(::mkdir(sub.c_str(), 0755), 0);
  ASSERT_EQ(::chmod(sub.c_str(), 0555), 0);

  const std::string result = RunInChild([&]() -> std::string {
    if (std::string problem = DropPrivileges(probe_); !problem.empty()) return problem;
    WriteDataFile(sub + "/level1.dat", "m.mod", LevelGrid());
    return "save succeeded";
  });
  EXPECT_EQ(result, "threw: File access denied");
  EXPECT_TRUE(std::filesystem::is_empty(sub));
}

// A shared level folder: the user may write the data file but not create files beside it. The
// save writes the file in place; it keeps its owner and no other file appears.
TEST_F(DeniedAccessTest, SaveIntoFolderUserMayNotCreateFilesIn) {
  const std::string sub = dir_.File("shared");
  ASSERT_EQ(::mkdir(sub.c_str(), 0755), 0);
  const std::string path = sub + "/level1.dat";
  WriteBytes(path, WellFormedFile("old-and-longer-than-the-new-name.mod"));
  ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
  struct stat before {};
  ASSERT_EQ(::stat(path.c_str(), &before), 0);

  // The old content is kept in the user's state directory while the file is written.
  const std::string state = dir_.File("state");
  const std::string result = RunInChild([&]() -> std::string {
    if (std::string problem = DropPrivileges(probe_); !problem.empty()) return problem;
    ::setenv("XDG_STATE_HOME", state.c_str(), 1);
    LevelGrid grid;
    grid.SetCell(2, 3, 'E');
    WriteDataFile(path, "new.mod", grid);
    LevelGrid again;
    const std::string music = ReadDataFile(path, again);
    return music + (again == grid ? " read back" : " differs");
  });
  EXPECT_EQ(result, "new.mod read back");
  struct stat after {};
  ASSERT_EQ(::stat(path.c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_uid, before.st_uid);
  EXPECT_EQ(std::filesystem::file_size(path), 9u + 13u * 21u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(sub), {}), 1);
  // Nothing is left of the save's journal either; the lock file that saves take turns by stays.
  std::vector<std::string> kept;
  for (const auto& entry : std::filesystem::directory_iterator(state + "/tollwen-level-editor"))
    kept.push_back(entry.path().filename().string());
  EXPECT_EQ(kept, std::vector<std::string>{"saves.lock"});
}

TEST(FailingSaveTest, WriteThatFailsPartwayKeepsTheOldFile) {
  // A lone file is replaced; a hard-linked one is written in place and has its content put back.
  for (const bool linked : {false, true}) {
    SCOPED_TRACE(linked ? "hard-linked" : "lone");
    ScratchDir dir;
    const std::string path = dir.File("level1.dat");
    const std::string original = WellFormedFile("old-tune-with-a-long-name.mod");
    WriteBytes(path, original);
    if (linked) {
      ASSERT_EQ(::link(path.c_str(), dir.File("other.dat").c_str()), 0);
    }

    // The file size limit lets the music line and two rows through, then fails the write.
    const std::string result = RunInChild([&]() -> std::string {
      std::signal(SIGXFSZ, SIG_IGN);
      const rlimit limit{100, 100};
      if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return "setrlimit failed";
      int rows = 0;
      try {
        WriteDataFile(path, std::string(40, 'n'), LevelGrid(), [&] { ++rows; });
      } catch (const InOutError& error) {
        return std::string(error.what()) + " after " + std::to_string(rows) + " rows";
      }
      return "save succeeded";
    });
    // Written in place, the journal that holds the old and new content comes first and does
    // not fit.
    EXPECT_EQ(result, linked ? "Disk full after 0 rows" : "Disk full after 2 rows");
    EXPECT_EQ(ReadBytes(path), original);
    EXPECT_EQ(dir.Names().size(), linked ? 2u : 1u);
  }
}

}  // namespace
}  // namespace tollwen
