// tollwen-level-tool render: the PNG is the level grid widget's own picture of the open level.
#include <gtest/gtest.h>

#include <QImage>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "../level/scratch_dir.h"
#include "../ui/grid_test_util.h"
#include "display/tile_set.h"
#include "editor/editor.h"
#include "level/path_parts.h"
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

}  // namespace
}  // namespace tollwen
