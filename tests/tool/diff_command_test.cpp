// tollwen-level-tool diff: the changed cells at the new file's places, the exit status, and the
// picture with the changed cells outlined.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QImage>
#include <string>

#include "../level/scratch_dir.h"
#include "data_file_text.h"
#include "storage/data_file.h"
#include "support/jpeg_writer.h"
#include "tool_runner.h"

namespace tollwen {
namespace {

using testing::DataFile;
using testing::kRow;
using testing::RunTool;
using testing::ScratchDir;
using testing::WriteBytes;

struct DiffCase {
  const char* name;
  std::string oldFile;  // "" for no file at all
  std::string newFile;
  int status;
  std::string out;
  std::string err;
  QStringList options = {};
};

TEST(DiffCommandTest, PrintsEachChangedCellAtItsPlaceInTheNewFile) {
  const DiffCase cases[] = {
      {"same", DataFile(), DataFile(), 0, "0 cells changed\n", ""},
      {"one cell", DataFile(), DataFile(kRow.substr(0, 5) + "9" + kRow.substr(6)), 1,
       "new.dat:4:6: column 6, row 3: Brick Wall (5) -> Water (9)\n1 cell changed\n", ""},
      {"music only", DataFile(), DataFile(kRow, "cave.xm"), 1,
       "new.dat:1: music: \"tune.mod\" -> \"cave.xm\"\n0 cells changed, music changed\n", ""},
      {"rows cut and filled up as the editor reads them", DataFile(kRow + "99999"),
       DataFile("0123456789ABCDEF"), 0, "0 cells changed\n", ""},
      {"a short row against a full one", DataFile("0123456789ABCDEF005"),
       DataFile("0123456789ABCDEF"), 1,
       "new.dat:4: column 19, row 3: Brick Wall (5) -> Eraser (0)\n1 cell changed\n", ""},
      {"a dropped CR moves the column", DataFile(), DataFile("01\r23456789ABCDEF009"), 1,
       "new.dat:4:20: column 19, row 3: Eraser (0) -> Water (9)\n1 cell changed\n", ""},
      {"a code that is not a tile code", DataFile(), DataFile("G123456789ABCDEF000"), 1,
       "new.dat:4:1: column 1, row 3: Eraser (0) -> 'G' (not a tile code)\n1 cell changed\n", ""},
      {"named for the file a temporary copy stands for",
       DataFile(),
       DataFile(kRow, "b.xm"),
       1,
       "levels/x.dat:1: music: \"tune.mod\" -> \"b.xm\"\n0 cells changed, music changed\n",
       "",
       {"--label", "levels/x.dat"}},
      {"unreadable old file", "", DataFile(), 2, "", "old.dat: error: File not found\n"},
      {"a line the editor refuses, with the editor's message",
       std::string(kMaxDataLineLength + 1, 'm') + "\r\n", DataFile(), 2, "",
       "old.dat: error: Error: Line 1 of the data file is longer than " +
           std::to_string(kMaxDataLineLength) + " bytes!\n"},
  };
  for (const DiffCase& c : cases) {
    ScratchDir dir;
    if (!c.oldFile.empty()) WriteBytes(dir.File("old.dat"), c.oldFile);
    WriteBytes(dir.File("new.dat"), c.newFile);
    // The read-only copies a version control system hands a diff tool.
    ::chmod(dir.File("new.dat").c_str(), 0444);
    const auto run = RunTool(QStringList{"diff", "old.dat", "new.dat"} + c.options, dir.path());
    EXPECT_EQ(run.out, c.out) << c.name;
    EXPECT_EQ(run.err, c.err) << c.name;
    EXPECT_EQ(run.status, c.status) << c.name;
  }
}

TEST(DiffCommandTest, PictureIsTheRenderWithTheChangedCellOutlined) {
  ScratchDir dir;
  test::JpegOptions options;
  options.pattern = test::FillPattern::kChecker;
  test::WriteJpegFile(dir.File("level.jpg"), options);
  WriteBytes(dir.File("old.dat"), DataFile());
  WriteBytes(dir.File("level.dat"), DataFile("01239" + kRow.substr(5)));
  const auto render = RunTool({"render", "level.jpg", "-o", "render.png"}, dir.path());
  ASSERT_EQ(render.status, 0) << render.err;
  const auto diff = RunTool(
      {"diff", "old.dat", "level.dat", "--picture", "level.jpg", "-o", "diff.png"}, dir.path());
  ASSERT_EQ(diff.status, 1) << diff.err;
  EXPECT_EQ(diff.out,
            "level.dat:4:5: column 5, row 3: Conveyor Left (4) -> Water (9)\n"
            "1 cell changed\n");

  const auto load = [&](const char* name) {
    return QImage(QString::fromStdString(dir.File(name))).convertToFormat(QImage::Format_RGB32);
  };
  const QImage expected = load("render.png");
  const QImage outlined = load("diff.png");
  ASSERT_EQ(outlined.size(), QSize(640, 448));
  ASSERT_EQ(expected.size(), QSize(640, 448));
  // Cell (5, 3) covers x 144..174, y 80..110; the grid lines around it lie one pixel outside.
  const QRect lines(143, 79, 33, 33);
  const QRect cell(144, 80, 31, 31);
  const QRect inside = cell.adjusted(2, 2, -2, -2);
  int wrong = 0;
  for (int y = 0; y < 448; ++y) {
    for (int x = 0; x < 640; ++x) {
      QRgb want = expected.pixel(x, y);
      if (lines.contains(x, y) && !cell.contains(x, y)) want = 0xFF000000;
      if (cell.contains(x, y) && !inside.contains(x, y)) want = 0xFFFF00FF;
      if (outlined.pixel(x, y) != want && ++wrong < 5) {
        ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << outlined.pixel(x, y)
                      << " instead of " << want;
      }
    }
  }
  EXPECT_EQ(wrong, 0);
}

}  // namespace
}  // namespace tollwen
