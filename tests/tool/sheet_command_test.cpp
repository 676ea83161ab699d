// tollwen-level-tool sheet: every level of a pack on one PNG in natural order, drawn as render
// draws it, marked by what check says, and never written over a file of the pack.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <functional>
#include <limits>
#include <string>

#include "../level/scratch_dir.h"
#include "data_file_text.h"
#include "support/jpeg_writer.h"
#include "tool_runner.h"

namespace tollwen {
namespace {

using testing::DataFile;
using testing::ReadBytes;
using testing::RunTool;
using testing::ScratchDir;
using testing::WriteBytes;
using PixelTest = std::function<bool(QRgb)>;

PixelTest Near(QRgb colour) {
  return [colour](QRgb p) {
    return std::abs(qRed(p) - qRed(colour)) + std::abs(qGreen(p) - qGreen(colour)) +
               std::abs(qBlue(p) - qBlue(colour)) <
           90;
  };
}
const PixelTest kRed = [](QRgb p) { return qRed(p) > 150 && qGreen(p) < 90 && qBlue(p) < 90; };
const PixelTest kAmber = [](QRgb p) {
  return qRed(p) > 200 && qGreen(p) > 120 && qGreen(p) < 200 && qBlue(p) < 80;
};
const PixelTest kDark = [](QRgb p) { return qGray(p) < 90; };

// The smallest rectangle holding every pixel of `image` that passes `test`.
QRect Extent(const QImage& image, const PixelTest& test) {
  QRect extent;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (test(image.pixel(x, y))) extent |= QRect(x, y, 1, 1);
  return extent;
}

bool AnyIn(const QImage& image, const QRect& area, const PixelTest& test) {
  return !Extent(image.copy(area.intersected(image.rect())), test).isEmpty();
}

// A pack whose levels differ in the colour of their pictures: level1 blue and clean, level2
// magenta with a warning (a short row), level10 green without a data file (an error), and a
// picture that does not decode.
class SheetCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(dir_.File("levels"));
    Level("level1", kBlue, DataFile());
    Level("level2", kMagenta, DataFile("0000"));
    Level("level10", kGreen, "");
    WriteBytes(dir_.File("levels/broken.jpg"), "GIF89a");
  }
  void Level(const std::string& name, QRgb colour, const std::string& data) {
    test::WriteJpegFile(dir_.File("levels/" + name + ".jpg"),
                        {.pattern = test::FillPattern::kSolid, .colour = QColor(colour)});
    if (!data.empty()) WriteBytes(dir_.File("levels/" + name + ".dat"), data);
  }

  static constexpr QRgb kBlue = 0xFF0000FF;
  static constexpr QRgb kMagenta = 0xFFFF00FF;
  static constexpr QRgb kGreen = 0xFF00FF00;
  ScratchDir dir_;
};

TEST_F(SheetCommandTest, LevelsInNaturalOrderDrawnAsRenderDrawsThemWithTheirMarks) {
  const auto run = RunTool(
      {"sheet", "levels", "-o", "sheet.png", "--columns", "2", "--width", "160", "--jobs", "1"},
      dir_.path());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, RunTool({"check", "levels"}, dir_.path()).out);
  EXPECT_EQ(run.err, "");
  const QImage sheet =
      QImage(QString::fromStdString(dir_.File("sheet.png"))).convertToFormat(QImage::Format_RGB32);
  ASSERT_FALSE(sheet.isNull());

  // In rows of two: broken.jpg, level1 / level2, level10.
  const QRect level1 = Extent(sheet, Near(kBlue));
  const QRect level2 = Extent(sheet, Near(kMagenta));
  const QRect level10 = Extent(sheet, Near(kGreen));
  EXPECT_NEAR(level1.width(), 160, 2);
  EXPECT_LT(level2.right(), level1.left());
  EXPECT_GT(level2.top(), level1.bottom());
  EXPECT_NEAR(level10.left(), level1.left(), 1);
  EXPECT_NEAR(level10.top(), level2.top(), 1);

  // Marks: none for the clean level, amber for the warning, red for the error and for the
  // picture that could not be drawn; every name written under its level, the error in red.
  const auto beside = [](const QRect& level) {
    return QRect(level.left() - 3, level.center().y(), 1, 1);
  };
  const auto under = [](const QRect& level) {
    return QRect(level.left(), level.bottom() + 6, level.width(), 36);
  };
  EXPECT_FALSE(AnyIn(sheet, beside(level1), kRed) || AnyIn(sheet, beside(level1), kAmber));
  EXPECT_TRUE(AnyIn(sheet, beside(level2), kAmber));
  EXPECT_TRUE(AnyIn(sheet, beside(level10), kRed));
  EXPECT_TRUE(AnyIn(sheet, QRect(0, level1.center().y(), level2.right(), 1), kRed));
  for (const QRect& level : {level1, level2, level10}) {
    EXPECT_TRUE(AnyIn(sheet, under(level), kDark));
  }
  EXPECT_TRUE(AnyIn(sheet, under(level10), kRed));
  EXPECT_FALSE(AnyIn(sheet, under(level1), kRed));

  // level1 as render draws it, reduced: the best match near where its colour lies.
  ASSERT_EQ(RunTool({"render", "levels/level1.jpg", "-o", "level1.png"}, dir_.path()).status, 0);
  const QImage rendered = QImage(QString::fromStdString(dir_.File("level1.png")))
                              .convertToFormat(QImage::Format_RGB32)
                              .scaled(160, 112, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  double best = std::numeric_limits<double>::max();
  for (int dy = -2; dy <= 2; ++dy) {
    for (int dx = -2; dx <= 2; ++dx) {
      const QImage cut = sheet.copy(QRect(level1.topLeft() + QPoint(dx, dy), rendered.size()));
      double difference = 0;
      for (int y = 0; y < cut.height(); ++y)
        for (int x = 0; x < cut.width(); ++x)
          difference += std::abs(qGray(cut.pixel(x, y)) - qGray(rendered.pixel(x, y)));
      best = std::min(best, difference / (cut.width() * cut.height()));
    }
  }
  EXPECT_LT(best, 1.0);
}

TEST_F(SheetCommandTest, SheetIsTheSameForEveryNumberOfJobs) {
  const auto one = RunTool({"sheet", "levels", "-o", "one.png", "--jobs", "1"}, dir_.path());
  const auto three = RunTool({"sheet", "levels", "-o", "three.png", "-j", "3"}, dir_.path());
  EXPECT_EQ(three.out, one.out);
  EXPECT_EQ(three.status, one.status);
  EXPECT_FALSE(ReadBytes(dir_.File("one.png")).empty());
  EXPECT_EQ(ReadBytes(dir_.File("three.png")), ReadBytes(dir_.File("one.png")));
}

struct RefusalCase {
  QStringList args;
  std::string err;
};

TEST_F(SheetCommandTest, WrongUsageAndFilesOfThePackAreRefusedWithNothingWritten) {
  const std::string tryHelp = "Try 'tollwen-level-tool --help'.\n";
  const std::string refusing = "tollwen-level-tool: refusing to write levels/";
  const RefusalCase cases[] = {
      {{"levels"}, "tollwen-level-tool: sheet needs -o SHEET.png\n" + tryHelp},
      {{"levels", "-o", "s.png", "--width", "10"},
       "tollwen-level-tool: --width needs a whole number from 128 to 640, not '10'\n" + tryHelp},
      {{"levels", "-o", "levels/level1.jpg"},
       refusing +
           "level1.jpg: it is a level picture levels/level1.jpg, which this command reads\n"},
      {{"levels", "-o", "levels/level2.dat"},
       refusing +
           "level2.dat: it is a level's data file levels/level2.dat, which this command reads\n"},
  };
  const std::string picture = ReadBytes(dir_.File("levels/level1.jpg"));
  for (const RefusalCase& c : cases) {
    const auto run = RunTool(QStringList{"sheet"} + c.args, dir_.path());
    EXPECT_EQ(run.status, 2) << c.err;
    EXPECT_EQ(run.err, c.err);
    EXPECT_EQ(ReadBytes(dir_.File("levels/level1.jpg")), picture);
    EXPECT_EQ(ReadBytes(dir_.File("levels/level2.dat")), DataFile("0000"));
    EXPECT_FALSE(std::filesystem::exists(dir_.File("s.png")));
  }
}

}  // namespace
}  // namespace tollwen
