#include "level/data_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "allocation_probe.h"
#include "level/errors.h"
#include "scratch_dir.h"

namespace tollwen {
namespace {

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

LevelGrid FilledGrid(TileCode code) {
  LevelGrid grid;
  for (int row = 1; row <= LevelGrid::kRows; ++row)
    for (int column = 1; column <= LevelGrid::kColumns; ++column) grid.SetCell(column, row, code);
  return grid;
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

// Lines of any length are read through without holding them in memory; the music name keeps
// a generous prefix of its line.
TEST_F(DataFileTest, HugeLinesAreReadInBoundedMemory) {
  const std::size_t kHuge = 6 * 1024 * 1024;
  const std::string path = dir_.File("huge.dat");
  {
    std::string content(kHuge, 'm');
    content += "\r\n";
    content += Row(1);
    content.append(kHuge, '9');
    content += "\r\n";
    for (int row = 2; row <= LevelGrid::kRows; ++row) content += Row(row) + "\r\n";
    WriteBytes(path, content);
  }
  LevelGrid grid;
  std::string music;
  std::size_t largest = 0;
  {
    LargestAllocation probe;
    music = ReadDataFile(path, grid);
    largest = probe.bytes();
  }
  EXPECT_EQ(music, std::string(4096, 'm'));
  for (int row = 1; row <= LevelGrid::kRows; ++row) EXPECT_EQ(RowOf(grid, row), Row(row));
  EXPECT_LT(largest, 256u * 1024u);
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
