#include "storage/data_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "allocation_probe.h"
#include "level/errors.h"
#include "scratch_dir.h"
#include "storage/file_replacement.h"
#include "support/child_process.h"
#include "uniform_level.h"

namespace tollwen {
namespace {

using testing::FilledGrid;
using testing::LargestAllocation;
using testing::PermissionBits;
using testing::ReadBytes;
using testing::ScratchDir;
using testing::WriteBytes;

const std::string kBlankRow = "0000000000000000000";

// Rows that use every tile code, so that a misplaced cell shows.
std::string Row(int row) {
  const std::string codes = "0123456789ABCDEF";
  std::string text;
  for (int column = 0; column < LevelGrid::kColumns; ++column)
    text += codes[(row * 7 + column) % 16];
  return text;
}

std::string WellFormedFile(const std::string& music, const std::string& lineEnd = "\r\n") {
  std::string file = music + lineEnd;
  for (int row = 1; row <= LevelGrid::kRows; ++row) file += Row(row) + lineEnd;
  return file;
}

std::string RowOf(const LevelGrid& grid, int row) {
  std::string text;
  for (int column = 1; column <= LevelGrid::kColumns; ++column) text += grid.CellAt(column, row);
  return text;
}

// Runs `action` and returns the InOutError's message, or "" when nothing was thrown.
template <typename Action>
std::string InOutErrorOf(Action action) {
  try {
    action();
  } catch (const InOutError& error) {
    return error.what();
  }
  return "";
}

class DataFileTest : public ::testing::Test {
 protected:
  ScratchDir dir_;
};

// --- Reading and writing the format ---------------------------------------------------------

TEST_F(DataFileTest, WellFormedFileRoundTripsByteForByte) {
  const std::string original = WellFormedFile("tune.mod");
  const std::string path = dir_.File("level1.dat");
  WriteBytes(path, original);

  LevelGrid grid;
  EXPECT_EQ(ReadDataFile(path, grid), "tune.mod");
  for (int row = 1; row <= LevelGrid::kRows; ++row) EXPECT_EQ(RowOf(grid, row), Row(row));

  WriteDataFile(path, "tune.mod", grid);
  EXPECT_EQ(ReadBytes(path), original);
  EXPECT_EQ(dir_.Names(), std::vector<std::string>{"level1.dat"});
}

TEST_F(DataFileTest, BlankLevelIsWrittenWithCrLfLines) {
  const std::string path = dir_.File("blank.dat");
  WriteDataFile(path, "tune.mod", LevelGrid());
  std::string expected = "tune.mod\r\n";
  for (int row = 0; row < LevelGrid::kRows; ++row) expected += kBlankRow + "\r\n";
  EXPECT_EQ(ReadBytes(path), expected);
}

TEST_F(DataFileTest, EmptyMusicLineReadsEmptyAndIsWrittenBack) {
  const std::string original = WellFormedFile("");
  const std::string path = dir_.File("level.dat");
  WriteBytes(path, original);
  LevelGrid grid;
  EXPECT_EQ(ReadDataFile(path, grid), "");
  WriteDataFile(path, "", grid);
  EXPECT_EQ(ReadBytes(path), original);
  EXPECT_EQ(original.substr(0, 2), "\r\n");
}

TEST_F(DataFileTest, LongRowKeepsItsFirst19Characters) {
  std::string file = "m.xm\r\n" + Row(1) + "XYZ123\r\n";
  for (int row = 2; row <= LevelGrid::kRows; ++row) file += Row(row) + "\r\n";
  const std::string path = dir_.File("long.dat");
  WriteBytes(path, file);

  LevelGrid grid;
  ReadDataFile(path, grid);
  EXPECT_EQ(RowOf(grid, 1), Row(1));
  EXPECT_EQ(RowOf(grid, 2), Row(2));
  WriteDataFile(path, "m.xm", grid);
  EXPECT_EQ(ReadBytes(path), WellFormedFile("m.xm"));
}

TEST_F(DataFileTest, LfOnlyFileReadsLikeCrLf) {
  const std::string path = dir_.File("unix.dat");
  WriteBytes(path, WellFormedFile("song.s3m", "\n"));
  LevelGrid grid;
  EXPECT_EQ(ReadDataFile(path, grid), "song.s3m");
  for (int row = 1; row <= LevelGrid::kRows; ++row) EXPECT_EQ(RowOf(grid, row), Row(row));
  WriteDataFile(path, "song.s3m", grid);
  EXPECT_EQ(ReadBytes(path), WellFormedFile("song.s3m"));
}

// A CR on its own does not end a line: a CR-only file is one long music line.
TEST_F(DataFileTest, LoneCarriageReturnsAreDropped) {
  const std::string path = dir_.File("mac.dat");
  WriteBytes(path, WellFormedFile("a.mid", "\r"));
  LevelGrid grid = FilledGrid('5');
  const std::string music = ReadDataFile(path, grid);
  EXPECT_EQ(music.substr(0, 5 + 19), "a.mid" + Row(1));
  EXPECT_EQ(music.find('\r'), std::string::npos);
  EXPECT_EQ(grid, LevelGrid());

  WriteBytes(path, "a\rb.mod\r\r\n01\r23\r\n\r\r\n");
  EXPECT_EQ(ReadDataFile(path, grid), "ab.mod");
  EXPECT_EQ(RowOf(grid, 1), "0123" + std::string(15, '0'));
  EXPECT_EQ(RowOf(grid, 2), kBlankRow);
}

// Nothing of the grid read before may show through a short or missing row.
TEST_F(DataFileTest, ShortAndMissingRowsArePaddedWithEmptyCells) {
  const std::string path = dir_.File("short.dat");
  WriteBytes(path, "tune.it\r\n123\r\n\r\nFFFFFFFFFFFFFFFFFFFF\r\nAB");
  LevelGrid grid = FilledGrid('7');
  EXPECT_EQ(ReadDataFile(path, grid), "tune.it");
  EXPECT_EQ(RowOf(grid, 1), "123" + std::string(16, '0'));
  EXPECT_EQ(RowOf(grid, 2), kBlankRow);
  EXPECT_EQ(RowOf(grid, 3), std::string(19, 'F'));
  EXPECT_EQ(RowOf(grid, 4), "AB" + std::string(17, '0'));
  for (int row = 5; row <= LevelGrid::kRows; ++row) EXPECT_EQ(RowOf(grid, row), kBlankRow);

  WriteDataFile(path, "tune.it", grid);
  LevelGrid again = FilledGrid('7');
  ReadDataFile(path, again);
  EXPECT_EQ(again, grid);

  WriteBytes(path, "");
  grid = FilledGrid('7');
  EXPECT_EQ(ReadDataFile(path, grid), "");
  EXPECT_EQ(grid, LevelGrid());
}

TEST_F(DataFileTest, CellsKeepAnyByteTheFileHolds) {
  const std::string path = dir_.File("odd.dat");
  std::string row1 = "12 G";
  row1 += '\0';
  row1 += "\x1a\xff";
  WriteBytes(path, "x\r\n" + row1 + "\r\n");
  LevelGrid grid;
  ReadDataFile(path, grid);
  EXPECT_EQ(RowOf(grid, 1), row1 + std::string(12, '0'));
  WriteDataFile(path, "x", grid);
  LevelGrid again;
  ReadDataFile(path, again);
  EXPECT_EQ(again, grid);
}

// Lines of up to 64 KiB are read: the music name is kept whole, so a save writes back what was
// read; rows keep their first 19 characters and are read through without being held.
TEST_F(DataFileTest, LongLinesAreReadUpTo64KiB) {
  const std::size_t kLimit = kMaxDataLineLength;
  const std::string path = dir_.File("long.dat");
  std::string content = std::string(kLimit, 'm') + "\r\n";
  for (int row = 1; row <= LevelGrid::kRows; ++row)
    content += Row(row) + std::string(kLimit - 19, '9') + "\r\n";
  WriteBytes(path, content);
  LevelGrid grid;
  std::size_t largest = 0;
  {
    LargestAllocation probe;
    EXPECT_EQ(ReadDataFile(path, grid), std::string(kLimit, 'm'));
    largest = probe.bytes();
  }
  for (int row = 1; row <= LevelGrid::kRows; ++row) EXPECT_EQ(RowOf(grid, row), Row(row));
  // The skipped part of a row is not held: the music name is the largest block.
  EXPECT_LT(largest, 2 * kLimit + 32u * 1024u);

  const std::string music(10 * 1024, 'n');
  WriteDataFile(path, music, grid);
  EXPECT_EQ(ReadDataFile(path, grid), music);
}

// A longer line among the music line and the rows fails the read, which stops there, naming the
// line: a sparse file of many gigabytes (all NUL bytes, one endless line) is refused at once
// rather than read to its end. Nothing of the grid changes.
TEST_F(DataFileTest, OverlongLineFailsTheRead) {
  struct Overlong {
    std::string start;
    off_t sparseSize;  // 0: the file is `start` alone
    std::string message;
  };
  const std::string kTooLong(kMaxDataLineLength + 1, 'm');
  const Overlong cases[] = {
      {kTooLong + "\n" + WellFormedFile(""), 0,
       "Error: Line 1 of the data file is longer than 65536 bytes!"},
      {"m\r\n" + Row(1) + "\r\n" + kTooLong + "\r\n", 0,
       "Error: Line 3 of the data file is longer than 65536 bytes!"},
      {"", off_t{20} << 30, "Error: Line 1 of the data file is longer than 65536 bytes!"},
      {"tune.mod\r\n", off_t{8} << 30,
       "Error: Line 2 of the data file is longer than 65536 bytes!"},
  };
  const std::string path = dir_.File("overlong.dat");
  for (const Overlong& c : cases) {
    WriteBytes(path, c.start);
    if (c.sparseSize > 0) {
      ASSERT_EQ(::truncate(path.c_str(), c.sparseSize), 0);
    }
    const std::string result = test::RunInChild(
        [&]() -> std::string {
          LevelGrid grid = FilledGrid('5');
          try {
            ReadDataFile(path, grid);
          } catch (const EditorError& error) {
            return grid == FilledGrid('5') ? error.what() : "grid changed";
          }
          return "read succeeded";
        },
        10);
    EXPECT_EQ(result, c.message);
  }
}

// Opening a level asks whether the data file may be written without opening it for writing:
// a program watching the folder sees no write.
TEST_F(DataFileTest, ReadingDoesNotOpenTheFileForWriting) {
  const std::string path = dir_.File("watched.dat");
  WriteBytes(path, WellFormedFile("tune.mod"));
  const int watcher = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  ASSERT_GE(watcher, 0);
  ASSERT_GE(::inotify_add_watch(watcher, path.c_str(), IN_CLOSE_WRITE | IN_CLOSE_NOWRITE), 0);
  LevelGrid grid;
  ReadDataFile(path, grid);
  alignas(inotify_event) char events[4096];
  const ssize_t length = ::read(watcher, events, sizeof events);
  ::close(watcher);
  ASSERT_GT(length, 0);
  for (ssize_t at = 0; at < length;) {
    const auto* event = reinterpret_cast<const inotify_event*>(events + at);
    EXPECT_EQ(event->mask & IN_CLOSE_WRITE, 0u);
    at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
  }
}

// --- Failures -------------------------------------------------------------------------------

TEST_F(DataFileTest, FailedReadLeavesTheGridAlone) {
  LevelGrid grid = FilledGrid('3');
  EXPECT_EQ(InOutErrorOf([&] { ReadDataFile(dir_.File("missing.dat"), grid); }), "File not found");
  EXPECT_EQ(InOutErrorOf([&] { ReadDataFile(dir_.path(), grid); }), "File access denied");
  EXPECT_EQ(InOutErrorOf([&] { ReadDataFile(dir_.File("missing/level.dat"), grid); }),
            "File not found");
  WriteBytes(dir_.File("plain"), "x");
  EXPECT_EQ(InOutErrorOf([&] { ReadDataFile(dir_.File("plain/level.dat"), grid); }),
            "Invalid filename");
  EXPECT_EQ(grid, FilledGrid('3'));
  // Nothing was created by the attempts.
  EXPECT_EQ(dir_.Names(), std::vector<std::string>{"plain"});
}

// A FIFO named like a data file must not hang the editor waiting for a writer.
TEST_F(DataFileTest, FifoIsRefusedWithoutBlocking) {
  const std::string path = dir_.File("pipe.dat");
  ASSERT_EQ(::mkfifo(path.c_str(), 0666), 0);
  LevelGrid grid;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(InOutErrorOf([&] { ReadDataFile(path, grid); }), "File access denied");
  EXPECT_NE(InOutErrorOf([&] { WriteDataFile(path, "m", grid); }), "");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST_F(DataFileTest, RefusedSaveKeepsTheOldFile) {
  const std::string path = dir_.File("level.dat");
  const std::string original = WellFormedFile("old.mod");
  WriteBytes(path, original);

  // A line break in the name would shift every row down one line.
  EXPECT_EQ(InOutErrorOf([&] { WriteDataFile(path, "new\n.mod", FilledGrid('1')); }),
            "Invalid filename");
  EXPECT_EQ(InOutErrorOf([&] { WriteDataFile(path, "new\r.mod", FilledGrid('1')); }),
            "Invalid filename");

  // An error raised while the rows are being written.
  int rows = 0;
  const auto failAtRow5 = [&] {
    if (++rows == 5) throw InOutError(101);
  };
  EXPECT_EQ(InOutErrorOf([&] { WriteDataFile(path, "new.mod", FilledGrid('1'), failAtRow5); }),
            "Disk full");

  EXPECT_EQ(ReadBytes(path), original);
  EXPECT_EQ(dir_.Names(), std::vector<std::string>{"level.dat"});
}

TEST_F(DataFileTest, SaveToUnusablePathsFails) {
  EXPECT_EQ(InOutErrorOf([&] { WriteDataFile(dir_.File("no/such/dir.dat"), "m", LevelGrid()); }),
            "File not found");
  EXPECT_EQ(InOutErrorOf([&] { WriteDataFile(dir_.path(), "m", LevelGrid()); }),
            "File access denied");
  EXPECT_EQ(InOutErrorOf([&] { WriteDataFile(dir_.path() + "/", "m", LevelGrid()); }),
            "Invalid filename");
  EXPECT_EQ(InOutErrorOf([&] { WriteDataFile("", "m", LevelGrid()); }), "Invalid filename");
  // A name cut short by an embedded NUL must not save to the file named by its first part.
  const std::string cut = dir_.File("cut.dat") + std::string(1, '\0') + "x";
  EXPECT_EQ(InOutErrorOf([&] { WriteDataFile(cut, "m", LevelGrid()); }), "Invalid filename");
  EXPECT_TRUE(dir_.Names().empty());
}

// --- Saving -----------------------------------------------------------------------------------

TEST_F(DataFileTest, SaveReportsEachRowAfterItIsWritten) {
  int calls = 0;
  WriteDataFile(dir_.File("rows.dat"), "m", LevelGrid(), [&] { ++calls; });
  EXPECT_EQ(calls, LevelGrid::kRows);
}

TEST_F(DataFileTest, SaveKeepsPermissionBitsAndGivesNewFilesTheUmask) {
  const std::string existing = dir_.File("kept.dat");
  WriteBytes(existing, WellFormedFile("a"));
  ASSERT_EQ(::chmod(existing.c_str(), 0640), 0);
  WriteDataFile(existing, "b", LevelGrid());
  EXPECT_EQ(PermissionBits(existing), 0640u);

  const mode_t previous = ::umask(027);
  WriteDataFile(dir_.File("new.dat"), "b", LevelGrid());
  ::umask(previous);
  EXPECT_EQ(PermissionBits(dir_.File("new.dat")), 0640u);
}

TEST_F(DataFileTest, SaveThroughSymlinkReplacesTheLinkedFile) {
  std::filesystem::create_directory(dir_.File("real"));
  WriteBytes(dir_.File("real/level.dat"), WellFormedFile("old"));
  ASSERT_EQ(::symlink("real/level.dat", dir_.File("link.dat").c_str()), 0);
  ASSERT_EQ(::symlink("link.dat", dir_.File("chain.dat").c_str()), 0);

  WriteDataFile(dir_.File("chain.dat"), "new", LevelGrid());
  EXPECT_TRUE(std::filesystem::is_symlink(dir_.File("chain.dat")));
  EXPECT_TRUE(std::filesystem::is_symlink(dir_.File("link.dat")));
  LevelGrid grid = FilledGrid('2');
  EXPECT_EQ(ReadDataFile(dir_.File("real/level.dat"), grid), "new");
  EXPECT_EQ(grid, LevelGrid());

  // A link to a file that does not exist yet creates that file.
  ASSERT_EQ(::symlink("real/fresh.dat", dir_.File("dangling.dat").c_str()), 0);
  WriteDataFile(dir_.File("dangling.dat"), "fresh", LevelGrid());
  EXPECT_EQ(ReadDataFile(dir_.File("real/fresh.dat"), grid), "fresh");

  ASSERT_EQ(::symlink("loop.dat", dir_.File("loop.dat").c_str()), 0);
  EXPECT_EQ(InOutErrorOf([&] { WriteDataFile(dir_.File("loop.dat"), "m", LevelGrid()); }),
            "Invalid filename");
}

// The other names of a hard-linked file see the saved content, and a failed save (written in
// place, as a replacement would split the names) puts the old content back under both.
TEST_F(DataFileTest, SaveKeepsHardLinks) {
  const std::string path = dir_.File("level.dat");
  const std::string other = dir_.File("other.dat");
  WriteBytes(path, WellFormedFile("old.mod"));
  ASSERT_EQ(::link(path.c_str(), other.c_str()), 0);

  WriteDataFile(path, "new.mod", FilledGrid('7'));
  const std::string saved = ReadBytes(path);
  LevelGrid grid;
  EXPECT_EQ(ReadDataFile(other, grid), "new.mod");
  EXPECT_EQ(grid, FilledGrid('7'));

  int rows = 0;
  const auto failAtRow5 = [&] {
    if (++rows == 5) throw InOutError(101);
  };
  EXPECT_EQ(InOutErrorOf([&] { WriteDataFile(path, "x.mod", FilledGrid('1'), failAtRow5); }),
            "Disk full");
  EXPECT_EQ(ReadBytes(other), saved);
  struct stat status {};
  ASSERT_EQ(::stat(path.c_str(), &status), 0);
  EXPECT_EQ(status.st_nlink, 2u);
  EXPECT_EQ(dir_.Names(), (std::vector<std::string>{"level.dat", "other.dat"}));
}

// An access-control list (granting the user "nobody" read access) and a user attribute survive
// the save, and so do the permission bits.
TEST_F(DataFileTest, SaveKeepsAccessControlListAndExtendedAttributes) {
  const std::string path = dir_.File("shared.dat");
  WriteBytes(path, WellFormedFile("old.mod"));
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  // The kernel's form of an access-control list: a version, then (tag, permissions, id).
  std::string acl;
  const auto add = [&acl](std::uint32_t word, int bytes) {
    for (int i = 0; i < bytes; ++i) acl += static_cast<char>((word >> (8 * i)) & 0xFF);
  };
  add(2, 4);
  for (const auto& [tag, permissions, id] : {std::tuple{0x01u, 6u, ~0u},
                                             {0x02u, 4u, 65534u},
                                             {0x04u, 4u, ~0u},
                                             {0x10u, 4u, ~0u},
                                             {0x20u, 0u, ~0u}}) {
    add(tag, 2);
    add(permissions, 2);
    add(id, 4);
  }
  const std::vector<std::string> names = {"user.origin", "system.posix_acl_access"};
  const std::vector<std::string> values = {"drawn by hand", acl};
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (::setxattr(path.c_str(), names[i].c_str(), values[i].data(), values[i].size(), 0) != 0)
      GTEST_SKIP() << names[i] << " is not supported here: " << std::strerror(errno);
  }
  const auto attribute = [&path](const std::string& name) {
    std::string value(4096, '\0');
    const ssize_t size = ::getxattr(path.c_str(), name.c_str(), value.data(), value.size());
    value.resize(size < 0 ? 0 : static_cast<std::size_t>(size));
    return value;
  };
  const std::string aclBefore = attribute(names[1]);

  WriteDataFile(path, "new.mod", LevelGrid());
  EXPECT_EQ(attribute(names[0]), values[0]);
  EXPECT_EQ(attribute(names[1]), aclBefore);
  EXPECT_EQ(PermissionBits(path), 0640u);
  LevelGrid grid;
  EXPECT_EQ(ReadDataFile(path, grid), "new.mod");
}

// While a private file is saved, no file in its folder is readable by anybody else at any
// moment, and a folder renamed during the save is left without a temporary file.
TEST_F(DataFileTest, SaveKeepsPrivateContentPrivateAndCleansUpInARenamedFolder) {
  std::filesystem::create_directory(dir_.File("levels"));
  const std::string path = dir_.File("levels/private.dat");
  WriteBytes(path, WellFormedFile("old.mod"));
  ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
  const mode_t previous = ::umask(0);
  int rows = 0;
  WriteDataFile(path, "new.mod", LevelGrid(), [&] {
    ++rows;
    for (const auto& entry : std::filesystem::directory_iterator(dir_.File("levels")))
      EXPECT_EQ(PermissionBits(entry.path().string()) & 077, 0u) << entry.path() << " row " << rows;
  });
  ::umask(previous);
  EXPECT_EQ(PermissionBits(path), 0600u);

  const std::string saved = ReadBytes(path);
  const auto renameAtRow5 = [&, count = 0]() mutable {
    if (++count < 5) return;
    std::filesystem::rename(dir_.File("levels"), dir_.File("moved"));
    throw InOutError(101);
  };
  EXPECT_EQ(InOutErrorOf([&] { WriteDataFile(path, "x.mod", LevelGrid(), renameAtRow5); }),
            "Disk full");
  EXPECT_EQ(ReadBytes(dir_.File("moved/private.dat")), saved);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.File("moved")),
                          std::filesystem::directory_iterator()),
            1);
}

// Temporary files of ours for the data file being saved that a killed save left behind more
// than a day ago are removed by the next save; younger ones, other data files' and any file a
// user may have named alike stay.
TEST_F(DataFileTest, SaveRemovesOnlyItsOwnStaleTemporaryFiles) {
  struct Leftover {
    std::string name;
    bool old;
    bool removed;
  };
  const Leftover leftovers[] = {
      {".level.dat.tollwen-save-ab12cd34.tmp", true, true},
      {".level.dat.tollwen-save-abcdefgh.tmp", false, false},  // young
      {".level.dat.tollwen-save-ABCDEFGH.tmp", true, false},   // not our letters
      {".level.dat.tollwen-save-ab12cd345.tmp", true, false},  // too many letters
      {".other.dat.tollwen-save-zzzzzzzz.tmp", true, false},   // another data file's
      {".level.dat.ab12cd34.tmp", true, false},                // a user's name
      {".notes.20240101.tmp", true, false},
      {"notes.tmp", true, false},
  };
  const timespec twoDaysAgo{::time(nullptr) - 2 * 24 * 60 * 60, 0};
  const timespec times[2] = {twoDaysAgo, twoDaysAgo};
  std::vector<std::string> expected = {"level.dat"};
  for (const Leftover& leftover : leftovers) {
    WriteBytes(dir_.File(leftover.name), "left over");
    if (leftover.old) {
      ASSERT_EQ(::utimensat(AT_FDCWD, dir_.File(leftover.name).c_str(), times, 0), 0);
    }
    if (!leftover.removed) expected.push_back(leftover.name);
  }

  WriteDataFile(dir_.File("level.dat"), "m", LevelGrid());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(dir_.Names(), expected);
  // The name our temporary files get is the one the clean-up knows.
  EXPECT_TRUE(TemporaryNameFor("level.dat").starts_with(".level.dat.tollwen-save-"));
}

TEST_F(DataFileTest, PathsWithNonAsciiBytesWork) {
  const std::string directory = dir_.File("Niveaux \xc3\xa9t\xc3\xa9 \xff");
  ASSERT_EQ(::mkdir(directory.c_str(), 0777), 0);
  const std::string path = directory + "/niveau\xe9\xe8.dat";
  LevelGrid grid = FilledGrid('C');
  WriteDataFile(path, "chanson\xe9.mod", grid);
  LevelGrid again;
  EXPECT_EQ(ReadDataFile(path, again), "chanson\xe9.mod");
  EXPECT_EQ(again, grid);

  // A name near the file-name limit still leaves room for the temporary file's name.
  const std::string longName = directory + "/" + std::string(251, 'n') + ".dat";
  WriteDataFile(longName, "m", grid);
  EXPECT_EQ(ReadDataFile(longName, again), "m");
}

// --- Data path ----------------------------------------------------------------------------

TEST(DataPathForTest, ReplacesTheLastThreeCharacters) {
  EXPECT_EQ(DataPathFor("C:\\levels\\level1.jpg"), "C:\\levels\\level1.dat");
  EXPECT_EQ(DataPathFor("/levels/level1.jpg"), "/levels/level1.dat");
  EXPECT_EQ(DataPathFor("/levels/level1.JPG"), "/levels/level1.dat");
  EXPECT_EQ(DataPathFor("/levels/level1.jpeg"), "/levels/level1.jdat");
  EXPECT_EQ(DataPathFor("/niveaux/\xe9t\xe9.jpg"), "/niveaux/\xe9t\xe9.dat");
  EXPECT_EQ(DataPathFor("abc"), "dat");
  EXPECT_EQ(DataPathFor("ab"), "dat");
  EXPECT_EQ(DataPathFor(""), "dat");
}

}  // namespace
}  // namespace tollwen
