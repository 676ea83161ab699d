#include "level/level_picture.h"

#include <gtest/gtest.h>
#include <malloc.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>  // jpeglib.h needs FILE and size_t declared before it
#include <cstdlib>
#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "level/errors.h"
#include "storage/picture_file.h"
#include "support/case_name.h"
#include "support/child_process.h"
#include "support/hostile_jpegs.h"
#include "support/jpeg_writer.h"

extern "C" {
#include <jpeglib.h>
// The message codes come from the library's own enum: they differ between releases.
#include <jerror.h>
}

namespace tollwen {
namespace {

using test::FillPattern;
using test::JpegColourSpace;
using test::JpegOptions;

class LevelPictureTest : public ::testing::Test {
 protected:
  std::string PathOf(const std::string& name) const {
    return dir_.filePath(name.c_str()).toStdString();
  }

  std::string WriteJpeg(const std::string& name, const JpegOptions& options) {
    const std::string path = PathOf(name);
    test::WriteJpegFile(path, options);
    return path;
  }

  std::string WriteBytes(const std::string& name, const std::vector<unsigned char>& bytes) {
    const std::string path = PathOf(name);
    test::WriteBytes(path, bytes);
    return path;
  }

  // Loads `path` and expects the given libjpeg message code, in the error and in its text.
  static void ExpectJpegError(const std::string& path, int code) {
    try {
      LoadJpegIntoBitmap(path);
      ADD_FAILURE() << path << " decoded, expected libjpeg message " << code;
    } catch (const JpegError& error) {
      EXPECT_EQ(error.messageCode(), code);
      EXPECT_EQ(std::string(error.what()), "JPEG error #" + std::to_string(code));
    }
  }

  static void ExpectCannotOpen(const std::string& path) {
    try {
      LoadJpegIntoBitmap(path);
      ADD_FAILURE() << path << " decoded, expected it not to open";
    } catch (const FileOpenError& error) {
      // The message shows the name as the system sees it, up to any embedded NUL.
      EXPECT_EQ(std::string(error.what()), "Cannot open file " + std::string(path.c_str()));
    }
  }

  QTemporaryDir dir_;
};

// Largest difference in any channel between two colours.
int ColourDistance(QRgb a, QRgb b) {
  return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                   std::abs(qBlue(a) - qBlue(b))});
}

// Every pixel is opaque and close to what the pattern drew there.
void ExpectMatchesPattern(const QImage& image, const JpegOptions& options, int tolerance) {
  ASSERT_EQ(image.format(), QImage::Format_RGB32);
  ASSERT_EQ(image.size(), QSize(options.width, options.height));
  int worst = 0;
  QPoint worstAt;
  for (int y = 0; y < image.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      ASSERT_EQ(qAlpha(row[x]), 255) << "at " << x << "," << y;
      const int distance = ColourDistance(row[x], test::PatternColourAt(options, x, y));
      if (distance > worst) {
        worst = distance;
        worstAt = QPoint(x, y);
      }
    }
  }
  EXPECT_LE(worst, tolerance) << "worst pixel at " << worstAt.x() << "," << worstAt.y();
}

TEST_F(LevelPictureTest, DecodesColourPicturesAtFullSizeRightWayUp) {
  JpegOptions solid;
  solid.pattern = FillPattern::kSolid;
  solid.colour = QColor(200, 30, 90);
  const QImage solidImage = LoadJpegIntoBitmap(WriteJpeg("solid.jpg", solid));
  ExpectMatchesPattern(solidImage, solid, 4);
  EXPECT_TRUE(IsLevelPictureSize(solidImage));

  // A gradient shows rows in order, columns unmirrored and red not swapped with blue.
  JpegOptions gradient;
  gradient.quality = 95;
  ExpectMatchesPattern(LoadJpegIntoBitmap(WriteJpeg("gradient.jpg", gradient)), gradient, 8);

  // Sizes that are not a multiple of the 16-pixel block come out exactly, unscaled.
  JpegOptions odd;
  odd.width = 37;
  odd.height = 23;
  odd.quality = 100;
  ExpectMatchesPattern(LoadJpegIntoBitmap(WriteJpeg("odd.jpg", odd)), odd, 16);
}

TEST_F(LevelPictureTest, DecodesProgressivePicture) {
  JpegOptions options;
  options.progressive = true;
  options.quality = 95;
  const QImage image = LoadJpegIntoBitmap(WriteJpeg("progressive.jpg", options));
  ExpectMatchesPattern(image, options, 8);
  EXPECT_TRUE(IsLevelPictureSize(image));
}

TEST_F(LevelPictureTest, DecodesGrayscaleAsAtMost236EqualRgbLevels) {
  // A horizontal ramp over every gray value, so that quantisation has to merge levels.
  QImage ramp(1024, 64, QImage::Format_RGB32);
  for (int x = 0; x < ramp.width(); ++x) {
    const int level = x * 255 / (ramp.width() - 1);
    for (int y = 0; y < ramp.height(); ++y) ramp.setPixel(x, y, qRgb(level, level, level));
  }
  JpegOptions options;
  options.colourSpace = JpegColourSpace::kGrayscale;
  options.quality = 100;
  const QImage image = LoadJpegIntoBitmap(WriteBytes("gray.jpg", test::EncodeJpeg(ramp, options)));
  ASSERT_EQ(image.format(), QImage::Format_RGB32);
  ASSERT_EQ(image.size(), ramp.size());

  std::set<int> levels;
  int worst = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb pixel = image.pixel(x, y);
      ASSERT_EQ(qRed(pixel), qGreen(pixel)) << "at " << x << "," << y;
      ASSERT_EQ(qRed(pixel), qBlue(pixel)) << "at " << x << "," << y;
      ASSERT_EQ(qAlpha(pixel), 255);
      levels.insert(qRed(pixel));
      worst = std::max(worst, std::abs(qRed(pixel) - qRed(ramp.pixel(x, y))));
    }
  }
  EXPECT_LE(levels.size(), 236u);
  EXPECT_GE(levels.size(), 200u) << "the ramp should keep most of its gray levels";
  EXPECT_LE(worst, 6);
}

TEST_F(LevelPictureTest, TruncatedPictureDecodesWithItsTopIntact) {
  JpegOptions options;
  options.quality = 95;
  std::vector<unsigned char> bytes = test::MakeJpeg(options);
  bytes.resize(bytes.size() / 2);
  const QImage image = LoadJpegIntoBitmap(WriteBytes("truncated.jpg", bytes));
  ASSERT_EQ(image.size(), QSize(640, 447));
  for (int x = 0; x < 640; x += 37) {
    EXPECT_LE(ColourDistance(image.pixel(x, 0), test::PatternColourAt(options, x, 0)), 8)
        << "at " << x;
  }
  // The missing lower part is filled in, opaque.
  EXPECT_EQ(qAlpha(image.pixel(320, 446)), 255);
}

TEST_F(LevelPictureTest, RefusesFilesThatAreNotJpeg) {
  ExpectJpegError(WriteBytes("empty.jpg", {}), JERR_INPUT_EMPTY);

  for (const char* format : {"PNG", "BMP"}) {
    QImage picture(640, 447, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(picture.save(&buffer, format));
    SCOPED_TRACE(format);
    ExpectJpegError(WriteBytes(std::string(format) + ".jpg",
                               std::vector<unsigned char>(encoded.begin(), encoded.end())),
                    JERR_NO_SOI);
  }

  // The start marker alone: the header ends before any image.
  ExpectJpegError(WriteBytes("soi-only.jpg", {0xFF, 0xD8}), JERR_NO_IMAGE);

  // libjpeg cannot turn CMYK into RGB; its own code is reported.
  JpegOptions cmyk;
  cmyk.colourSpace = JpegColourSpace::kCmyk;
  cmyk.width = 32;
  cmyk.height = 32;
  ExpectJpegError(WriteJpeg("cmyk.jpg", cmyk), JERR_CONVERSION_NOTIMPL);
}

// A file held in memory (memfd), opened by path: rewriting it thousands of times stays fast.
class MemoryFile {
 public:
  MemoryFile() : fd_(::memfd_create("level-picture-test", 0)) {}
  ~MemoryFile() {
    if (fd_ >= 0) ::close(fd_);
  }
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;

  bool ok() const { return fd_ >= 0; }
  std::string Path() const { return "/proc/self/fd/" + std::to_string(fd_); }
  bool Write(const unsigned char* data, std::size_t size) {
    return ::ftruncate(fd_, 0) == 0 && ::pwrite(fd_, data, size, 0) == static_cast<ssize_t>(size);
  }

 private:
  int fd_;
};

// What opening a level makes of `path`: "level" for a 640 x 447 picture, "size" for a picture
// refused for its size, otherwise the message of the error.
std::string OpenVerdict(const std::string& path) {
  try {
    return LoadLevelPicture(path) ? "level" : "size";
  } catch (const EditorError& error) {
    return error.what();
  }
}

// Every cut or damaged copy decodes or fails cleanly, and opening it as a level, which only
// reads a picture of another size through, gives the verdict of the full decode.
TEST_F(LevelPictureTest, EveryCutOrDamagedFileDecodesOrFailsCleanly) {
  MemoryFile file;
  ASSERT_TRUE(file.ok());
  JpegOptions options;
  options.width = 24;
  options.height = 16;
  options.pattern = FillPattern::kNoise;
  for (bool progressive : {false, true}) {
    options.progressive = progressive;
    SCOPED_TRACE(progressive ? "progressive" : "baseline");
    const std::vector<unsigned char> whole = test::MakeJpeg(options);
    // Decodes the file whole, then opens it as a level: both must agree.
    const auto check = [&](const std::string& what, bool cut) {
      std::string full;
      try {
        const QImage image = LoadJpegIntoBitmap(file.Path());
        if (cut) {
          EXPECT_EQ(image.size(), QSize(24, 16)) << what;
        }
        EXPECT_EQ(image.format(), QImage::Format_RGB32) << what;
        full = IsLevelPictureSize(image) ? "level" : "size";
      } catch (const EditorError& error) {
        if (cut) {
          EXPECT_NE(dynamic_cast<const JpegError*>(&error), nullptr) << what;
        }
        full = error.what();
      }
      EXPECT_EQ(OpenVerdict(file.Path()), full) << what;
    };
    for (std::size_t length = 0; length < whole.size(); ++length) {
      ASSERT_TRUE(file.Write(whole.data(), length));
      check("cut at " + std::to_string(length), true);
    }
    for (std::size_t at = 2; at < whole.size(); ++at) {
      std::vector<unsigned char> damaged = whole;
      damaged[at] ^= 0x5A;
      ASSERT_TRUE(file.Write(damaged.data(), damaged.size()));
      check("damaged at " + std::to_string(at), false);
    }
  }
}

TEST_F(LevelPictureTest, FilesThatCannotBeOpenedReportTheirPath) {
  ExpectCannotOpen(PathOf("missing.jpg"));
  ExpectCannotOpen(dir_.path().toStdString());
  ExpectCannotOpen("");
  ExpectCannotOpen("/dev/null");

  // A FIFO is refused at once: reading it would wait for a writer that never comes.
  const std::string fifo = PathOf("pipe.jpg");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  ExpectCannotOpen(fifo);

  // A name cut short by an embedded NUL must not open the file named by its first part.
  const std::string real = WriteJpeg("real.jpg", JpegOptions{});
  ExpectCannotOpen(real + std::string(1, '\0') + "x");
}

// The resident memory in kB that the process holds now ("VmRSS") or held at its peak ("VmHWM").
long MemoryKb(const std::string& field) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind(field + ":", 0) == 0) return std::stol(line.substr(field.size() + 1));
  }
  return -1;
}

std::string JpegErrorText(int code) { return "JPEG error #" + std::to_string(code); }

// What opening each hostile file must give. A picture of another size gets the size message
// also where libjpeg would stop only for its memory limit (progressive_16384x4096 and the
// 1920 x 1080 one) or where reading it through would cost too much (arithmetic_16384x8192).
std::string ExpectedVerdict(const std::string& name) {
  if (name == "wide_second_scan") return JpegErrorText(JERR_EOI_EXPECTED);
  if (name == "scans_" + std::to_string(kMaxJpegScans)) return "level";
  if (name.ends_with("scans_400"))
    return "Error: Image has more than " + std::to_string(kMaxJpegScans) + " scans!";
  return "size";
}

// The processor time the process has used, in seconds.
double ProcessorSeconds() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

class HostileJpegTest : public LevelPictureTest,
                        public ::testing::WithParamInterface<test::NamedJpeg> {};

// Each file gets libjpeg's own verdict, the scan limit's or the size message, and costs a
// bounded amount of memory and time (a refusal takes well under a second; the bound leaves room
// for a slow machine); the child's time limit stops the test should a file make the decoder run
// on.
TEST_P(HostileJpegTest, GetsItsVerdictWithinBoundedMemoryAndTime) {
  const std::string path = WriteBytes("hostile.jpg", GetParam().make());
  const std::string result = test::RunInChild(
      [&] {
        ::malloc_trim(0);  // memory freed before must be taken from the system again
        std::ofstream("/proc/self/clear_refs") << "5";  // restarts the peak from here
        const long before = MemoryKb("VmRSS");
        const double started = ProcessorSeconds();
        std::string verdict = OpenVerdict(path);
        const double took = ProcessorSeconds() - started;
        const long grown = MemoryKb("VmHWM") - before;
        if (grown > 64 * 1024) verdict += " (peak memory grew by " + std::to_string(grown) + " kB)";
        if (took > 1.0) verdict += " (took " + std::to_string(took) + " s)";
        return verdict;
      },
      20);
  EXPECT_EQ(result, ExpectedVerdict(GetParam().name));
}

INSTANTIATE_TEST_SUITE_P(Files, HostileJpegTest,
                         ::testing::ValuesIn(test::HostileJpegs(kMaxJpegScans)), test::CaseName());

// `jpeg` with its first scan taking its Huffman tables from slot 3, which no file here defines.
std::vector<unsigned char> WithUndefinedTables(std::vector<unsigned char> jpeg) {
  static const unsigned char kStartOfScan[] = {0xFF, 0xDA};
  const auto scan =
      std::search(jpeg.begin(), jpeg.end(), std::begin(kStartOfScan), std::end(kStartOfScan));
  // Marker, length (2), component count, then the first component's id and table byte.
  if (scan + 7 <= jpeg.end()) scan[6] = 0x33;
  return jpeg;
}

struct DamagedCase {
  std::string name;
  std::vector<unsigned char> bytes;
  std::string verdict;
};

// A damaged picture of the level size gets libjpeg's verdict, as the full decode gives it; so
// does one of another size where libjpeg finds the error at little cost.
TEST_F(LevelPictureTest, DamagedPicturesKeepLibjpegsVerdict) {
  const JpegOptions wide{.width = 17000, .height = 8};
  const std::vector<DamagedCase> cases = {
      {"undefined tables", WithUndefinedTables(test::MakeJpeg()),
       JpegErrorText(JERR_NO_HUFF_TABLE)},
      {"second scan", test::RepeatScans(test::MakeJpeg(), 2), JpegErrorText(JERR_EOI_EXPECTED)},
      {"17000 x 8, undefined tables", WithUndefinedTables(test::MakeJpeg(wide)),
       JpegErrorText(JERR_NO_HUFF_TABLE)},
      // Stopped by the scan limit: the size decides.
      {"64 x 64, 400 scans",
       test::RepeatScans(test::MakeJpeg({.width = 64, .height = 64, .progressive = true}), 400),
       "size"},
  };
  for (const DamagedCase& c : cases) {
    EXPECT_EQ(OpenVerdict(WriteBytes("damaged.jpg", c.bytes)), c.verdict) << c.name;
  }
}

TEST_F(LevelPictureTest, PicturesOfAnySizeDecodeWhole) {
  // No size limit of the loader's own: a side over 16384 decodes at full size.
  JpegOptions wide{.width = 17000, .height = 8};
  EXPECT_EQ(LoadJpegIntoBitmap(WriteJpeg("wide.jpg", wide)).size(), QSize(17000, 8));
  // The level size is decoded whole as opening a level needs it, and alike by both loaders.
  const std::string level = WriteJpeg("level.jpg", JpegOptions{});
  const std::optional<QImage> picture = LoadLevelPicture(level);
  ASSERT_TRUE(picture.has_value());
  EXPECT_EQ(*picture, LoadJpegIntoBitmap(level));
}

TEST(LevelPictureSizeTest, OnlyExactly640By447IsLevelSize) {
  EXPECT_TRUE(IsLevelPictureSize(QImage(640, 447, QImage::Format_RGB32)));
  EXPECT_FALSE(IsLevelPictureSize(QImage(640, 448, QImage::Format_RGB32)));
  EXPECT_FALSE(IsLevelPictureSize(QImage(447, 640, QImage::Format_RGB32)));
  EXPECT_FALSE(IsLevelPictureSize(QImage(639, 447, QImage::Format_RGB32)));
  EXPECT_FALSE(IsLevelPictureSize(QImage()));
}

TEST_F(LevelPictureTest, DecodedWrongSizesAreNotLevelSize) {
  for (QSize size : {QSize(640, 448), QSize(447, 640)}) {
    JpegOptions options;
    options.width = size.width();
    options.height = size.height();
    const QImage image = LoadJpegIntoBitmap(WriteJpeg("wrong.jpg", options));
    EXPECT_EQ(image.size(), size);
    EXPECT_FALSE(IsLevelPictureSize(image));
  }
}

}  // namespace
}  // namespace tollwen
