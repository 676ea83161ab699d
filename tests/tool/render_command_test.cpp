// tollwen-level-tool render: the PNG is the level grid widget's own picture of the open level.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QImage>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "../level/scratch_dir.h"
#include "../ui/grid_test_util.h"
#include "display/tile_set.h"
#include "editor/editor.h"
#include "level/path_parts.h"
#include "storage/state_folder.h"
#include "support/child_process.h"
#include "support/fake_window.h"
#include "support/jpeg_writer.h"
#include "tool_runner.h"
#include "ui/level_grid_view.h"

namespace tollwen {
namespace {

using testing::RunTool;
using testing::ScratchDir;
using testing::WriteBytes;

// Every tile, some twice, and a tile on the start cell (8, 9).
std::string DataFile(char cellFiveThree = '5') {
  std::string file = "tune.mod\r\n";
  for (int row = 1; row <= 13; ++row) {
    for (int column = 1; column <= 19; ++column) {
      file += row == 3 && column == 5 ? cellFiveThree : "0123456789ABCDEF"[(row * 5 + column) % 16];
    }
    file += "\r\n";
  }
  return file;
}

// The editor with its level grid widget, the level opened as File > Open opens it.
class OpenedInTheEditor {
 public:
  OpenedInTheEditor(const std::string& picture, std::optional<QRgb> arrowColour) {
    LoadAssets(ExecutableDirectory(), editor_.State().Tiles);
    view_.SetGridBorders();
    fake_.OnCall([this](const std::string& call) {
      if (call == "RepaintGrid") view_.RepaintAll();
    });
    if (arrowColour) {
      fake_.AnswerArrowColour(*arrowColour);
      editor_.ChooseArrowColour();
    }
    editor_.OpenLevelFile(picture);
  }

  // The grid area, 640 x 448, as the widget paints it.
  QImage GridArea() {
    return FullRepaint(view_).copy(QRect(view_.contentsRect().topLeft(), QSize(640, 448)));
  }

 private:
  FakeWindow fake_;
  Editor editor_{fake_, "/nonexistent/"};
  LevelGridView view_{editor_};
};

struct RenderCase {
  const char* name;
  char cellFiveThree;
  QStringList options;
  std::optional<QRgb> arrowColour;
  int status;
  std::string err;
};

TEST(RenderCommandTest, PngHasTheGridWidgetsPixels) {
  const RenderCase cases[] = {
      {"default colour, output beside the picture", '5', {}, std::nullopt, 0, ""},
      {"yellow arrows", '5', {"--arrow-colour", "FFFF00"}, 0xFFFFFF00, 0, ""},
      {"a cell the editor cannot draw",
       'G',
       {},
       std::nullopt,
       1,
       "level.dat:4:5: error: 'G' is not a tile code; the editor stops drawing the level here\n"},
  };
  for (const RenderCase& c : cases) {
    ScratchDir dir;
    test::JpegOptions picture;
    picture.pattern = test::FillPattern::kChecker;
    test::WriteJpegFile(dir.File("level.jpg"), picture);
    WriteBytes(dir.File("level.dat"), DataFile(c.cellFiveThree));

    const auto run = RunTool(QStringList{"render", "level.jpg"} + c.options, dir.path());
    EXPECT_EQ(run.status, c.status) << c.name;
    EXPECT_EQ(run.err, c.err) << c.name;
    const QImage rendered =
        QImage(QString::fromStdString(dir.File("level.png"))).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(rendered.size(), QSize(640, 448)) << c.name;
    OpenedInTheEditor editor(dir.File("level.jpg"), c.arrowColour);
    EXPECT_EQ(rendered, editor.GridArea()) << c.name;
  }
}

// A data file the editor refuses (a line too long for one) opens no level: nothing is rendered.
TEST(RenderCommandTest, RefusedDataFileIsNotRendered) {
  ScratchDir dir;
  test::WriteJpegFile(dir.File("level.jpg"));
  WriteBytes(dir.File("level.dat"), "tune.mod\r\n" + std::string(70000, '0') + "\r\n");
  const auto run = RunTool({"render", "level.jpg"}, dir.path());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(
      run.err,
      "level.dat:2: error: the line is longer than 65536 bytes; the editor refuses the file\n");
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{"level.dat", "level.jpg"}));
}

// A write of the picture that fails (here the file size limit stops it) leaves the previous
// picture whole, for render and for diff -o alike, and nothing else beside it.
TEST(RenderCommandTest, FailedWriteLeavesThePreviousPicture) {
  for (const std::string command :
       {"render level.jpg -o out.png", "diff level.dat new.dat --picture level.jpg -o out.png"}) {
    ScratchDir dir;
    test::WriteJpegFile(dir.File("level.jpg"));
    WriteBytes(dir.File("level.dat"), "tune.mod\r\n");
    WriteBytes(dir.File("new.dat"), "tune.mod\r\n5\r\n");
    WriteBytes(dir.File("out.png"), "the previous picture");
    const std::string result = test::RunInChild([&] {
      std::signal(SIGXFSZ, SIG_IGN);
      const rlimit limit{1000, 1000};
      ::setrlimit(RLIMIT_FSIZE, &limit);
      const std::string line =
          "cd '" + dir.path() + "' && '" TOLLWEN_LEVEL_TOOL "' " + command + " 2>/dev/null";
      return std::to_string(WEXITSTATUS(std::system(line.c_str())));
    });
    EXPECT_EQ(result, "2") << command;
    EXPECT_EQ(testing::ReadBytes(dir.File("out.png")), "the previous picture") << command;
    EXPECT_EQ(dir.Names(),
              (std::vector<std::string>{"level.dat", "level.jpg", "new.dat", "out.png"}))
        << command;
  }
}

struct RefusalCase {
  const char* name;
  QStringList args;
  std::string err;
};

TEST(RenderCommandTest, NeverWritesOverItsInputsNorIntoWhatIsNotARegularFile) {
  ScratchDir dir;
  test::WriteJpegFile(dir.File("level.jpg"));
  WriteBytes(dir.File("level.dat"), DataFile());
  test::WriteJpegFile(dir.File("pic.png"));
  WriteBytes(dir.File("pic.dat"), DataFile());
  std::filesystem::create_directory(dir.File("sub"));
  std::filesystem::create_directory(dir.File("folder.png"));
  std::filesystem::create_symlink("level.jpg", dir.File("link.png"));
  std::filesystem::create_hard_link(dir.File("level.jpg"), dir.File("hard.png"));
  ASSERT_EQ(::mkfifo(dir.File("fifo.png").c_str(), 0600), 0);
  const std::string refusing = "tollwen-level-tool: refusing to write ";
  const std::string picture = ": it is the level picture level.jpg, which this command reads\n";

  const RefusalCase cases[] = {
      {"the picture itself", {"-o", "level.jpg"}, refusing + "level.jpg" + picture},
      {"the picture spelled otherwise",
       {"-o", "sub/../level.jpg"},
       refusing + "sub/../level.jpg" + picture},
      {"a link to the picture", {"-o", "link.png"}, refusing + "link.png" + picture},
      {"a hard link to the picture", {"-o", "hard.png"}, refusing + "hard.png" + picture},
      {"the data file",
       {"-o", "level.dat"},
       refusing + "level.dat: it is the level's data file level.dat, which this command reads\n"},
      {"a FIFO",
       {"-o", "fifo.png"},
       refusing + "fifo.png: it exists and is a FIFO, not a regular file\n"},
      {"a folder",
       {"-o", "folder.png"},
       refusing + "folder.png: it exists and is a folder, not a regular file\n"},
      {"a device",
       {"-o", "/dev/null"},
       refusing + "/dev/null: it exists and is a device, not a regular file\n"},
      {"the default output of a picture named .png",
       {"pic.png"},
       refusing +
           "pic.png: it is the level picture pic.png, which this command reads; name the output "
           "with -o OUT.png\n"},
      {"diff over a data file it compares",
       {"diff", "level.dat", "pic.dat", "--picture", "level.jpg", "-o", "pic.dat"},
       refusing + "pic.dat: it is the new data file pic.dat, which this command reads\n"},
  };
  const std::string pictureBytes = testing::ReadBytes(dir.File("level.jpg"));
  for (const RefusalCase& c : cases) {
    const QStringList args = c.args.front() == "diff" ? c.args
                             : c.args.front() == "pic.png"
                                 ? QStringList{"render"} + c.args
                                 : QStringList{"render", "level.jpg"} + c.args;
    const auto run = RunTool(args, dir.path());
    EXPECT_EQ(run.status, 2) << c.name;
    EXPECT_EQ(run.err, c.err) << c.name;
    EXPECT_EQ(testing::ReadBytes(dir.File("level.jpg")), pictureBytes) << c.name;
    EXPECT_EQ(testing::ReadBytes(dir.File("pic.png")), pictureBytes) << c.name;
    EXPECT_EQ(testing::ReadBytes(dir.File("level.dat")), DataFile()) << c.name;
    EXPECT_EQ(testing::ReadBytes(dir.File("pic.dat")), DataFile()) << c.name;
  }
}

}  // namespace
}  // namespace tollwen
