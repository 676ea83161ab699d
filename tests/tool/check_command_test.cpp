// tollwen-level-tool check: the lines, summary and exit status a folder of levels gives.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>
#include <string>

#include "../level/scratch_dir.h"
#include "support/jpeg_writer.h"
#include "tool_runner.h"

extern "C" {
#include <jerror.h>
}

namespace tollwen {
namespace {

using testing::RunTool;
using testing::ScratchDir;
using testing::WriteBytes;

const std::string kRow = "0123456789ABCDEF000";

// A data file in the editor's own form, with `row3` as row 3.
std::string DataFile(const std::string& row3 = kRow) {
  std::string file = "tune.mod\r\n";
  for (int row = 1; row <= 13; ++row) file += (row == 3 ? row3 : kRow) + "\r\n";
  return file;
}

std::string CrOnlyDataFile() {
  std::string file = "tune.mod\r";
  for (int row = 1; row <= 13; ++row) file += kRow + "\r";
  return file;
}

class CheckCommandTest : public ::testing::Test {
 protected:
  // A level: its picture (a good one unless `picture` holds other bytes) and its data file
  // (none when `data` is empty).
  void Level(const std::string& name, const std::string& data, test::JpegOptions picture = {}) {
    test::WriteJpegFile(dir_.File("levels/" + name + ".jpg"), picture);
    if (!data.empty()) WriteBytes(dir_.File("levels/" + name + ".dat"), data);
  }

  void SetUp() override { std::filesystem::create_directory(dir_.File("levels")); }

  ScratchDir dir_;
};

TEST_F(CheckCommandTest, ReportsEveryProblemOfAFolderInPathOrder) {
  Level("a_good", DataFile());
  Level("b_code", DataFile("00G0000000000000\x01"
                           "00"));
  Level("c_short", DataFile("0000"));
  Level("d_cr_only", CrOnlyDataFile());
  Level("e_size", DataFile(), {.width = 640, .height = 448});
  Level("g_nodata", "");
  WriteBytes(dir_.File("levels/f_not_jpeg.jpg"), "GIF89a");
  WriteBytes(dir_.File("levels/f_not_jpeg.dat"), DataFile());
  WriteBytes(dir_.File("levels/notes.txt"), "not a level");

  const auto run = RunTool({"check", "levels"}, dir_.path());
  EXPECT_EQ(run.out,
            "levels/b_code.dat:4:3: error: 'G' is not a tile code; the editor stops drawing the "
            "level here\n"
            "levels/b_code.dat:4:17: error: '\\x01' is not a tile code; the editor stops drawing "
            "the level here\n"
            "levels/c_short.dat:4:5: warning: row 3 has 4 characters, not 19; the editor fills it "
            "up with '0'\n"
            "levels/d_cr_only.dat:1:9: warning: CR without LF: the editor drops it and reads on "
            "in the same line (14 times in this file)\n"
            "levels/d_cr_only.dat:1:270: warning: the last line has no line end; saving adds CR "
            "LF\n"
            "levels/d_cr_only.dat: warning: rows 1-13 are missing; the editor reads them as rows "
            "of '0'\n"
            "levels/e_size.jpg: error: Image must be 640x447 pixels in size! (this one is "
            "640x448)\n"
            "levels/f_not_jpeg.jpg: error: JPEG error #" +
                std::to_string(JERR_NO_SOI) +
                "\n"
                "levels/g_nodata.jpg: error: no data file g_nodata.dat; the editor opens a blank "
                "level\n"
                "7 levels, 5 errors, 4 warnings\n");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.status, 1);
}

struct StatusCase {
  QStringList args;
  int status;
  std::string out;
  std::string err;
};

TEST_F(CheckCommandTest, ExitStatusFollowsErrorsWarningsAndUsageOfBothCommands) {
  Level("good", DataFile());
  Level("lf", "tune.mod\n" + DataFile().substr(10));
  Level("nodata", "");
  const std::string tryHelp = "Try 'tollwen-level-tool --help'.\n";
  const StatusCase cases[] = {
      {{"check", "levels/good.jpg"}, 0, "1 level, 0 errors, 0 warnings\n", ""},
      {{"check", "levels/lf.jpg"},
       0,
       "levels/lf.dat:1:9: warning: line ends with LF, not CR LF; saving rewrites the line "
       "ends\n1 level, 0 errors, 1 warning\n",
       ""},
      {{"check", "--strict", "levels/lf.jpg"}, 1, "", ""},
      {{"check", "levels/none"},
       2,
       "",
       "tollwen-level-tool: cannot read levels/none: No such file or directory\n"},
      {{"check"}, 2, "", "tollwen-level-tool: check needs a level picture or folder\n" + tryHelp},
      {{"check", "--fast", "levels"},
       2,
       "",
       "tollwen-level-tool: unknown option '--fast' for check\n" + tryHelp},
      {{"frobnicate"}, 2, "", "tollwen-level-tool: unknown command 'frobnicate'\n" + tryHelp},
      {{"render", "levels/good.jpg", "--arrow-colour", "008080"},
       2,
       "",
       "tollwen-level-tool: Sorry this colour cannot be used for the arrow color\n"},
      {{"render", "levels/good.jpg", "--arrow-colour", "yellow"},
       2,
       "",
       "tollwen-level-tool: the arrow colour must be six hexadecimal digits RRGGBB, not "
       "'yellow'\n" +
           tryHelp},
      {{"render", "levels/none.jpg"},
       2,
       "",
       "tollwen-level-tool: cannot read levels/none.jpg: No such file or directory\n"},
      {{"render", "levels/nodata.jpg", "-o", "nodata.png"},
       0,
       "",
       "levels/nodata.jpg: warning: no data file nodata.dat; rendered as the blank level the "
       "editor opens\n"},
  };
  for (const StatusCase& c : cases) {
    const auto run = RunTool(c.args, dir_.path());
    const std::string what = c.args.join(' ').toStdString();
    EXPECT_EQ(run.status, c.status) << what;
    if (c.status != 1) {
      EXPECT_EQ(run.out, c.out) << what;
    }
    EXPECT_EQ(run.err, c.err) << what;
  }
  EXPECT_EQ(RunTool({"--version"}, dir_.path()).out, "tollwen-level-tool 1.0\n");
}

TEST_F(CheckCommandTest, JsonListsEveryLevelWithItsProblems) {
  Level("a", DataFile());
  Level("b", DataFile("0000"));
  const auto run = RunTool({"check", "--json", "levels"}, dir_.path());
  const QJsonArray levels = QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).array();
  ASSERT_EQ(levels.size(), 2) << run.out;
  EXPECT_EQ(levels[0].toObject()["picture"].toString(), "levels/a.jpg");
  EXPECT_TRUE(levels[0].toObject()["problems"].toArray().isEmpty());
  const QJsonObject problem = levels[1].toObject()["problems"].toArray()[0].toObject();
  EXPECT_EQ(problem["file"].toString(), "levels/b.dat");
  EXPECT_EQ(problem["line"].toInt(), 4);
  EXPECT_EQ(problem["column"].toInt(), 5);
  EXPECT_EQ(problem["severity"].toString(), "warning");
  EXPECT_EQ(run.status, 0);
}

}  // namespace
}  // namespace tollwen
