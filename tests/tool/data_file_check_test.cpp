// The data file scan: what it reports where, that it reads the rows exactly as the editor does,
// and that a data file the editor would refuse is refused the same way and left as it was.
#include "level/data_file_check.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "../level/scratch_dir.h"
#include "level/errors.h"
#include "storage/data_file.h"
#include "storage/save_journal.h"
#include "support/child_process.h"
#include "support/jpeg_writer.h"
#include "tool/check_report.h"
#include "tool/level_check.h"

namespace tollwen {
namespace {

using testing::ScratchDir;
using testing::WriteBytes;

const std::string kRow = "0123456789ABCDEFabc";

std::string Rows(int count, const std::string& end = "\r\n") {
  std::string rows;
  for (int row = 0; row < count; ++row) rows += kRow + end;
  return rows;
}

// Each problem as "LINE:COLUMN: severity: message", one a line.
std::string Shown(const DataFileScan& scan) {
  std::string text;
  for (const DataFileProblem& problem : scan.problems) text += ProblemLine({"", problem}) + "\n";
  return text;
}

struct ScanCase {
  std::string name;
  std::string bytes;
  std::string problems;
};

TEST(DataFileScanTest, ReportsWhereTheFileDepartsFromTheEditorsFormAndReadsLikeTheEditor) {
  const ScanCase cases[] = {
      {"well-formed", "tune.mod\r\n" + Rows(13), ""},
      {"LF only", "tune.mod\n" + Rows(13, "\n"),
       ":1:9: warning: line ends with LF, not CR LF; saving rewrites the line ends "
       "(14 lines in this file)\n"},
      {"long row, empty music name", "\r\n" + kRow + "G12\r\n" + Rows(12),
       ":1: warning: empty music name\n"
       ":2:20: warning: row 1 has 22 characters, not 19; the editor ignores those past the "
       "19th\n"},
      {"lone CR inside a row", "m\r\n01\r23456789ABCDEFabc\r\n" + Rows(12),
       ":2:3: warning: CR without LF: the editor drops it and reads on in the same line\n"},
      {"bad codes", "m\r\n" + std::string("\0G", 2) + kRow.substr(2) + "\r\n" + Rows(12),
       ":2:1: error: '\\x00' is not a tile code; the editor stops drawing the level here\n"
       ":2:2: error: 'G' is not a tile code; the editor stops drawing the level here\n"},
      {"lines after the last row", "m\r\n" + Rows(13) + "x\r\n\r\n",
       ":15: warning: 2 lines after the last row; the editor ignores them and saving drops "
       "them\n"},
      {"ends early", "m\r\n" + Rows(4) + "0123",
       ":6:5: warning: row 5 has 4 characters, not 19; the editor fills it up with '0'\n"
       ":6:5: warning: the last line has no line end; saving adds CR LF\n"
       ": warning: rows 6-13 are missing; the editor reads them as rows of '0'\n"},
      {"empty", "",
       ": warning: empty music name\n"
       ": warning: rows 1-13 are missing; the editor reads them as rows of '0'\n"},
  };
  ScratchDir dir;
  const std::string path = dir.File("level.dat");
  for (const ScanCase& c : cases) {
    WriteBytes(path, c.bytes);
    const DataFileScan scan = ScanDataFile(path);
    EXPECT_EQ(Shown(scan), c.problems) << c.name;
    LevelGrid editors;
    ReadDataFile(path, editors);
    EXPECT_EQ(scan.grid, editors) << c.name;

    // Fed in pieces of one byte, the result is the same.
    DataFileScanner scanner;
    for (const char byte : c.bytes) scanner.Feed(std::string_view(&byte, 1));
    EXPECT_EQ(Shown(scanner.Finish()), c.problems) << c.name;
  }
}

TEST(DataFileScanTest, StopsWhereTheEditorStopsReading) {
  ScratchDir dir;
  const std::string path = dir.File("level.dat");
  // A line too long for a data file, among the music line and the rows: the one error, naming
  // the line as the editor's refusal does; nothing read past it. CRs count as the line's bytes,
  // its CR LF does not; lines after the last row have no limit.
  const std::string longest(kMaxDataLineLength, 'm');
  struct LongLine {
    std::string bytes;
    std::string problems;
    std::string editor;
  };
  const LongLine cases[] = {
      {longest + "m\r\n" + Rows(13),
       ":1: error: the line is longer than 65536 bytes; the editor refuses the file\n",
       "Error: Line 1 of the data file is longer than 65536 bytes!"},
      {"m\r\n" + Rows(4) + longest + "\r\r\n" + Rows(8),
       ":6: error: the line is longer than 65536 bytes; the editor refuses the file\n",
       "Error: Line 6 of the data file is longer than 65536 bytes!"},
      {"m\r\n" + Rows(12) + std::string(kMaxDataLineLength, '0') + "\r\n",
       ":14:20: warning: row 13 has 65536 characters, not 19; the editor ignores those past the "
       "19th\n",
       ""},
      {"m\r\n" + Rows(13) + longest + "x\r\n",
       ":15: warning: 1 line after the last row; the editor ignores them and saving drops them\n",
       ""},
  };
  for (const LongLine& c : cases) {
    WriteBytes(path, c.bytes);
    EXPECT_EQ(Shown(ScanDataFile(path)), c.problems) << c.editor;
    std::string editor;
    try {
      LevelGrid grid;
      ReadDataFile(path, grid);
    } catch (const EditorError& error) {
      editor = error.what();
    }
    EXPECT_EQ(editor, c.editor);
  }
  // Past the last row only a bounded amount is read to count the lines there.
  std::string after;
  for (int line = 0; line < (1 << 20); ++line) after += "\r\n";
  WriteBytes(path, "m\r\n" + Rows(13) + after);
  EXPECT_EQ(Shown(ScanDataFile(path)),
            ":15: warning: more than 524288 lines after the last row; the editor ignores them "
            "and saving drops them\n");
}

// A save that wrote the data file in place stopped halfway: the check reports it and checks
// the content the editor puts back when it opens the level, and writes nothing itself.
TEST(DataFileScanTest, InterruptedSaveIsReportedAndTheContentFromBeforeItChecked) {
  ScratchDir dir;
  const std::string path = dir.File("level.dat");
  const std::string before = "m\r\n" + Rows(13);
  std::string saving = "m\r\n";
  for (int row = 0; row < 13; ++row) saving += std::string(19, 'G') + "\r\n";
  const std::string halfWritten = saving.substr(0, 30) + before.substr(30);
  WriteBytes(path, halfWritten);
  struct stat status {};
  ASSERT_EQ(::stat(path.c_str(), &status), 0);
  // The user's own journal, in the user's state folder.
  ::setenv("XDG_STATE_HOME", dir.File("state").c_str(), 1);
  std::filesystem::create_directories(dir.File("state/tollwen-level-editor"));
  const std::string journalPath =
      dir.File("state/tollwen-level-editor/" + std::to_string(status.st_dev) + "-" +
               std::to_string(status.st_ino) + ".journal");
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  const std::string journal =
      EncodeJournal({FileIdentity::Of(status), BirthOf(fd), before, saving});
  ::close(fd);
  WriteBytes(journalPath, journal);

  EXPECT_EQ(Shown(ScanDataFile(path)),
            ": warning: a save that wrote this file in place was interrupted; the editor puts "
            "back the content from before that save, which is checked here\n");
  EXPECT_EQ(testing::ReadBytes(path), halfWritten);
  EXPECT_EQ(testing::ReadBytes(journalPath), journal);
  ::unsetenv("XDG_STATE_HOME");
}

TEST(DataFileScanTest, ReadOnlyDataFileIsRefusedAsTheEditorRefusesItAndStaysUntouched) {
  ScratchDir dir("/tmp");
  ASSERT_EQ(::chmod(dir.path().c_str(), 0777), 0);
  const std::string picture = dir.File("level.jpg");
  test::WriteJpegFile(picture);
  WriteBytes(dir.File("level.dat"), "m\r\n" + Rows(13));
  ASSERT_EQ(::chmod(dir.File("level.dat").c_str(), 0444), 0);

  const std::string result = test::RunInChild([&]() -> std::string {
    if (std::string problem = test::DropPrivileges(dir.File("level.dat")); !problem.empty()) {
      return problem;
    }
    std::string lines;
    for (const LevelProblem& problem : CheckLevel(picture).problems) {
      lines += ProblemLine(problem) + "\n";
    }
    return lines;
  });
  EXPECT_EQ(result, dir.File("level.dat") + ": error: File access denied\n");
  EXPECT_EQ(testing::ReadBytes(dir.File("level.dat")), "m\r\n" + Rows(13));
}

}  // namespace
}  // namespace tollwen
