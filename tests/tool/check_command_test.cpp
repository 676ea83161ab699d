// tollwen-level-tool check: the lines, summary and exit status a folder of levels gives.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "../level/scratch_dir.h"
#include "data_file_text.h"
#include "support/child_process.h"
#include "support/jpeg_writer.h"
#include "tool_runner.h"

extern "C" {
#include <jerror.h>
}

namespace tollwen {
namespace {

using testing::DataFile;
using testing::kRow;
using testing::RunTool;
using testing::ScratchDir;
using testing::WriteBytes;

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

TEST_F(CheckCommandTest, NumberedLevelsComeInNaturalOrder) {
  for (const char* name : {"level10", "Level9", "level2"}) Level(name, "");
  const auto run = RunTool({"check", "levels"}, dir_.path());
  EXPECT_EQ(run.out.substr(0, run.out.find('\n')),
            "levels/level2.jpg: error: no data file level2.dat; the editor opens a blank level");
  EXPECT_LT(run.out.find("Level9.jpg"), run.out.find("level10.jpg"));
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

// What a file in a test folder holds.
enum class Content { kPicture, kTruncatedPicture, kDataFile, kLinkToNowhere };

struct FolderCase {
  const char* name;
  std::vector<std::pair<std::string, Content>> files;  // names in the folder "levels"
  std::string out;
  int status;
};

TEST_F(CheckCommandTest, ReportsDataFilesWithoutPicturesDamagedPicturesAndEscapesNames) {
  const std::string blankLevel = "; the editor opens a blank level\n";
  const FolderCase cases[] = {
      {"data file without its picture",
       {{"a.jpg", Content::kPicture}, {"a.dat", Content::kDataFile}, {"b.dat", Content::kDataFile}},
       "levels/b.dat: warning: no picture b.jpg (in any case) for this data file; the editor "
       "opens a data file only through its picture\n1 level, 0 errors, 1 warning\n",
       0},
      {"a picture in upper case pairs with its .dat",
       {{"A.JPG", Content::kPicture}, {"A.dat", Content::kDataFile}},
       "1 level, 0 errors, 0 warnings\n",
       0},
      {"no picture pairs with .DAT",
       {{"c.jpg", Content::kPicture}, {"c.dat", Content::kDataFile}, {"c.DAT", Content::kDataFile}},
       "levels/c.DAT: warning: no picture pairs with this data file: the editor reads c.dat for "
       "c.jpg, never c.DAT\n1 level, 0 errors, 1 warning\n",
       0},
      {"truncated picture",
       {{"t.jpg", Content::kTruncatedPicture}, {"t.dat", Content::kDataFile}},
       "levels/t.jpg: warning: damaged picture, libjpeg says \"Premature end of JPEG file\", "
       "\"Corrupt JPEG data: premature end of data segment\"; the editor shows it with the damage "
       "filled in\n1 level, 0 errors, 1 warning\n",
       0},
      {"a picture link that leads nowhere",
       {{"gone.jpg", Content::kLinkToNowhere}},
       "levels/gone.jpg: error: cannot read this picture: No such file or directory\n"
       "0 levels, 1 error, 0 warnings\n",
       1},
      {"a newline cannot forge a line",
       {{"x\nfake.jpg:1:1: error: y.jpg", Content::kPicture}},
       "levels/x\\nfake.jpg:1:1: error: y.jpg: error: no data file x\\nfake.jpg:1:1: error: y.dat" +
           blankLevel + "1 level, 1 error, 0 warnings\n",
       1},
  };
  for (const FolderCase& c : cases) {
    std::filesystem::remove_all(dir_.File("levels"));
    std::filesystem::create_directory(dir_.File("levels"));
    for (const auto& [name, content] : c.files) {
      const std::string path = dir_.File("levels/" + name);
      if (content == Content::kPicture) test::WriteJpegFile(path);
      if (content == Content::kDataFile) WriteBytes(path, DataFile());
      if (content == Content::kLinkToNowhere) std::filesystem::create_symlink("nowhere", path);
      if (content == Content::kTruncatedPicture) {
        const std::vector<unsigned char> jpeg = test::MakeJpeg();
        test::WriteBytes(path, {jpeg.begin(), jpeg.begin() + jpeg.size() / 2});
      }
    }
    const auto run = RunTool({"check", "levels"}, dir_.path());
    EXPECT_EQ(run.out, c.out) << c.name;
    EXPECT_EQ(run.status, c.status) << c.name;
  }
}

TEST_F(CheckCommandTest, JsonKeepsNamesThatAreNotUtf8DistinctAndRecoverable) {
  Level("\xfe", DataFile());
  Level("\xff", DataFile());
  Level("caf\xc3\xa9", DataFile());
  const auto run = RunTool({"check", "--json", "levels"}, dir_.path());
  const QJsonArray levels = QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).array();
  ASSERT_EQ(levels.size(), 3) << run.out;
  EXPECT_EQ(levels[0].toObject()["picture"].toString(),
            QString::fromUtf8("levels/caf\xc3\xa9.jpg"));
  EXPECT_FALSE(levels[0].toObject().contains("pictureBytes"));
  const char* names[] = {"levels/\xfe.jpg", "levels/\xff.jpg"};
  for (int i = 0; i < 2; ++i) {
    const QJsonObject level = levels[i + 1].toObject();
    EXPECT_EQ(QByteArray::fromHex(level["pictureBytes"].toString().toLatin1()).toStdString(),
              names[i]);
    EXPECT_EQ(level["picture"].toString().toStdString(),
              i == 0 ? "levels/\\xfe.jpg" : "levels/\\xff.jpg");
  }
}

TEST_F(CheckCommandTest, OutputIsTheSameWhateverTheNumberOfJobs) {
  Level("a", DataFile());
  Level("b", DataFile("0000"));
  Level("c", DataFile("00G0000000000000000"));
  Level("d", "");
  Level("e", DataFile(), {.width = 640, .height = 448});
  WriteBytes(dir_.File("levels/f.dat"), DataFile());
  for (const char* format : {"--strict", "--json"}) {
    const auto one = RunTool({"check", format, "--jobs", "1", "levels"}, dir_.path());
    EXPECT_EQ(one.status, 1);
    for (const QStringList& jobs :
         {QStringList{"--jobs", "4"}, QStringList{"-j", "2"}, QStringList{}}) {
      const auto many =
          RunTool(QStringList{"check", format} + jobs + QStringList{"levels"}, dir_.path());
      EXPECT_EQ(many.out, one.out) << format << " " << jobs.join(' ').toStdString();
      EXPECT_EQ(many.status, one.status);
    }
  }
  const auto zero = RunTool({"check", "--jobs", "0", "levels"}, dir_.path());
  EXPECT_EQ(zero.err,
            "tollwen-level-tool: --jobs needs a whole number from 1 up, not '0'\n"
            "Try 'tollwen-level-tool --help'.\n");
  EXPECT_EQ(zero.status, 2);
}

// Runs the tool as an unprivileged user, so that permission bits hold also for a test run by the
// superuser: its output and error output, then "status N". The user runs a copy of the tool in
// `dir`, which it can reach wherever the build tree lies.
std::string RunToolUnprivileged(const std::string& dir, const std::string& args) {
  const std::string tool = test::CopyProgramForAnyUser(TOLLWEN_LEVEL_TOOL, dir);
  return test::RunInChild([&]() -> std::string {
    // The test's own working directory, the build tree, may be out of the user's reach too.
    if (::chdir(dir.c_str()) != 0) return "cannot enter " + dir;
    if (std::string problem = test::DropPrivileges(dir + "/probe"); !problem.empty()) {
      return problem;
    }
    const std::string command = "'" + tool + "' " + args + " 2>&1; echo \"status $?\"";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return "popen failed";
    std::string out;
    char buffer[4096];
    while (const std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe))
      out.append(buffer, got);
    ::pclose(pipe);
    return out;
  });
}

TEST(CheckUnreadableTest, AnUnreadableFolderInsideIsAnErrorLineAndTheRestIsChecked) {
  ScratchDir dir("/tmp");
  ASSERT_EQ(::chmod(dir.path().c_str(), 0777), 0);
  WriteBytes(dir.File("probe"), "");
  ASSERT_EQ(::chmod(dir.File("probe").c_str(), 0444), 0);
  for (const char* name : {"levels", "levels/b_locked"}) {
    std::filesystem::create_directory(dir.File(name));
  }
  for (const char* stem : {"levels/a", "levels/b_locked/x", "levels/c"}) {
    test::WriteJpegFile(dir.File(stem) + ".jpg");
    WriteBytes(dir.File(stem) + ".dat", DataFile());
    ASSERT_EQ(::chmod((dir.File(stem) + ".dat").c_str(), 0666), 0);
  }
  ASSERT_EQ(::chmod(dir.File("levels/b_locked").c_str(), 0), 0);

  EXPECT_EQ(RunToolUnprivileged(dir.path(), "check levels"),
            "levels/b_locked: error: cannot read this folder: Permission denied\n"
            "2 levels, 1 error, 0 warnings\nstatus 1\n");
  EXPECT_EQ(RunToolUnprivileged(dir.path(), "check levels/b_locked levels"),
            "tollwen-level-tool: cannot read levels/b_locked: Permission denied\nstatus 2\n");
}

}  // namespace
}  // namespace tollwen
