#include "display/bmp_reader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <cstdint>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "level/errors.h"
#include "support/bmp_builder.h"

namespace tollwen {
namespace {

using Bytes = std::vector<std::byte>;
using Rows = std::vector<std::vector<QRgb>>;
namespace bc = bmp_compression;

constexpr QRgb kBlack = qRgb(0, 0, 0);
constexpr QRgb kRed = qRgb(255, 0, 0);
constexpr QRgb kGreen = qRgb(0, 255, 0);
constexpr QRgb kBlue = qRgb(0, 0, 255);
constexpr QRgb kWhite = qRgb(255, 255, 255);
const std::string kStreamReadError = "Stream read error";
const std::string kNotValid = "Bitmap image is not valid";
const std::string kOutOfMemory = "Out of memory";

Rows PixelsOf(const QImage& image) {
  Rows rows(image.height());
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) rows[y].push_back(image.pixel(x, y));
  return rows;
}

QImage Decode(const Bytes& bytes) {
  QImage image = DecodeBmp(bytes);
  EXPECT_EQ(image.format(), QImage::Format_RGB32);
  return image;
}

// The message decoding fails with, or "" when it succeeds.
std::string ErrorOf(const Bytes& bytes) {
  try {
    DecodeBmp(bytes);
  } catch (const EditorError& error) {
    return error.what();
  }
  return "";
}

std::string FileErrorOf(const std::string& path) {
  try {
    ReadBmpFile(path);
  } catch (const EditorError& error) {
    return error.what();
  }
  return "";
}

Bytes Cut(Bytes bytes, std::size_t size) {
  bytes.resize(size);
  return bytes;
}

// Sixteen distinct colours, none of them black.
std::vector<QRgb> Palette16() {
  std::vector<QRgb> colours;
  for (int i = 0; i < 16; ++i) colours.push_back(qRgb(10 + i * 15, 200 - i * 10, 5 + i * 16));
  return colours;
}

Bytes Rle8(int width, int height, std::vector<std::uint8_t> data) {
  return BmpBuilder(width, height, 8)
      .Compression(bc::kRle8)
      .Palette({kRed, kGreen, kBlue, kWhite})
      .RawPixelData(std::move(data))
      .Build();
}

TEST(BmpReader, HandWrittenFilesDecodeAndMatchTheBuilder) {
  const auto b = [](std::initializer_list<int> values) {
    Bytes bytes;
    for (int v : values) bytes.push_back(std::byte(v));
    return bytes;
  };
  const Bytes
      rgb24 = b({'B', 'M', 70,   0,    0,    0,    0,    0, 0, 0,    54,   0, 0, 0,  // file header
                 40,  0,   0,    0,    2,    0,    0,    0, 2, 0,    0,    0, 1, 0, 24, 0, 0, 0, 0,
                 0,   16,  0,    0,    0,    0x13, 0x0B, 0, 0, 0x13, 0x0B, 0, 0, 0, 0,  0, 0, 0, 0,
                 0,   0,   0xFF, 0,    0,    0,    0xFF, 0, 0, 0,  // bottom row: blue, green
                 0,   0,   0xFF, 0xFF, 0xFF, 0xFF, 0,    0});      // top row: red, white
  EXPECT_EQ(PixelsOf(Decode(rgb24)), (Rows{{kRed, kWhite}, {kBlue, kGreen}}));
  EXPECT_EQ(BmpBuilder(2, 2, 24).Rgb24Row({kRed, kWhite}).Rgb24Row({kBlue, kGreen}).Build(), rgb24);

  const Bytes indexed =
      b({'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 58, 0, 0, 0, 40, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0,
         8, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0x13, 0x0B, 0, 0, 0x13, 0x0B, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0,
         0x10, 0x20, 0x30, 0,  // palette entry
                               // 0: blue, green,
                               // red, unused
         0, 0, 0, 0});
  EXPECT_EQ(PixelsOf(Decode(indexed)), (Rows{{qRgb(0x30, 0x20, 0x10)}}));
  EXPECT_EQ(BmpBuilder(1, 1, 8).Palette({qRgb(0x30, 0x20, 0x10)}).IndexRow({0}).Build(), indexed);
}

TEST(BmpReader, FilesThatCannotBeOpenedNameThePathAsGiven) {
  QTemporaryDir dir;
  const std::string base = dir.path().toStdString();
  const auto errorOf = FileErrorOf;
  EXPECT_EQ(errorOf(base + "/missing.bmp"), "Cannot open file " + base + "/missing.bmp");
  EXPECT_EQ(errorOf("no-such-dir/../A.bmp"), "Cannot open file no-such-dir/../A.bmp");
  EXPECT_EQ(errorOf(base), "Cannot open file " + base);  // a directory
  const std::string fifo = base + "/pipe.bmp";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(errorOf(fifo), "Cannot open file " + fifo);  // refused at once, no writer needed
  if (geteuid() != 0) {                                  // root reads any file
    const std::string locked = base + "/locked.bmp";
    WriteBmp24(locked, QImage(2, 2, QImage::Format_RGB32));
    ASSERT_EQ(chmod(locked.c_str(), 0), 0);
    EXPECT_EQ(errorOf(locked), "Cannot open file " + locked);
  }
}

TEST(BmpReader, EmptyFileIsANullImageAndShortFilesAreReadErrors) {
  QTemporaryDir dir;
  const std::string empty = dir.filePath("0.bmp").toStdString();
  WriteFileBytes(empty, {});
  EXPECT_TRUE(ReadBmpFile(empty).isNull());
  EXPECT_TRUE(DecodeBmp({}).isNull());

  const Bytes valid = BmpBuilder(2, 1, 8).Palette({kRed, kBlue}).IndexRow({1, 0}).Build();
  for (std::size_t size : {1, 2, 13}) EXPECT_EQ(ErrorOf(Cut(valid, size)), kStreamReadError);
  const std::string shortFile = dir.filePath("short.bmp").toStdString();
  WriteFileBytes(shortFile, Cut(valid, 13));
  EXPECT_EQ(FileErrorOf(shortFile), kStreamReadError);
}

TEST(BmpReader, FileReadingMatchesDecodingInMemory) {
  QTemporaryDir dir;
  QImage tile(32, 32, QImage::Format_RGB32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) tile.setPixel(x, y, qRgb(x * 8, y * 8, (x ^ y) * 8));
  const std::string path = dir.filePath("1.bmp").toStdString();
  WriteBmp24(path, tile);
  EXPECT_EQ(ReadBmpFile(path), tile);

  // Trailing bytes are ignored; run-length data longer than the headers is read to its end.
  Bytes withTail = Bmp24FromImage(tile);
  withTail.resize(withTail.size() + 5000, std::byte{0x55});
  std::vector<std::uint8_t> runs;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 40; ++x) runs.insert(runs.end(), {1, static_cast<std::uint8_t>(x % 4)});
    runs.insert(runs.end(), {0, 0});
  }
  for (const Bytes& bytes : {withTail, Rle8(40, 40, runs)}) {
    WriteFileBytes(path, bytes);
    const QImage fromFile = ReadBmpFile(path);
    EXPECT_EQ(fromFile, DecodeBmp(bytes));
    EXPECT_NE(fromFile.pixel(fromFile.width() - 1, 0), kBlack);
  }
}

TEST(BmpReader, HeaderCutShortIsAReadError) {
  const Bytes info = BmpBuilder(2, 1, 8).Palette({kRed, kBlue, kGreen}).IndexRow({1, 0}).Build();
  // Inside the header size, the info header and the palette.
  for (std::size_t size : {15, 17, 14 + 39, 14 + 40 + 11}) {
    EXPECT_EQ(ErrorOf(Cut(info, size)), kStreamReadError) << size;
  }
  const Bytes core = BmpBuilder(2, 1, 1)
                         .Header(BmpHeaderKind::kCore)
                         .Palette({kRed, kBlue})
                         .IndexRow({1, 0})
                         .Build();
  EXPECT_EQ(ErrorOf(Cut(core, 14 + 11)), kStreamReadError);
  EXPECT_EQ(ErrorOf(Cut(core, 14 + 12 + 5)), kStreamReadError);  // in the second triple
  const Bytes v5 = BmpBuilder(1, 1, 24).Header(BmpHeaderKind::kV5).Rgb24Row({kRed}).Build();
  EXPECT_EQ(ErrorOf(Cut(v5, 14 + 100)), kStreamReadError);
  // Masks after a 40-byte header: three for bit fields, four for the alpha variant.
  const Bytes masks = BmpBuilder(1, 1, 16)
                          .Compression(bc::kBitFields)
                          .Masks({0xF800, 0x07E0, 0x001F})
                          .Row16({0})
                          .Build();
  EXPECT_EQ(ErrorOf(Cut(masks, 14 + 40 + 11)), kStreamReadError);
  const Bytes alpha = BmpBuilder(1, 1, 32)
                          .Compression(bc::kAlphaBitFields)
                          .Masks({0xFF0000, 0xFF00, 0xFF, 0xFF000000})
                          .Row32({0})
                          .Build();
  EXPECT_EQ(ErrorOf(Cut(alpha, 14 + 40 + 15)), kStreamReadError);
}

TEST(BmpReader, PixelDataCutShortLeavesTheRestBlack) {
  const Bytes full = BmpBuilder(3, 2, 24)
                         .Rgb24Row({kRed, kGreen, kBlue})
                         .Rgb24Row({kWhite, kBlue, kGreen})
                         .Build();
  // The bottom row is stored first; the top row keeps its first pixel and one byte more.
  EXPECT_EQ(PixelsOf(Decode(Cut(full, 54 + 12 + 4))),
            (Rows{{kRed, kBlack, kBlack}, {kWhite, kBlue, kGreen}}));
  EXPECT_EQ(PixelsOf(Decode(Cut(full, 54))), (Rows(2, {kBlack, kBlack, kBlack})));
  const Bytes topDown = BmpBuilder(1, 3, 8)
                            .TopDown()
                            .Palette({kRed})
                            .IndexRow({0})
                            .IndexRow({0})
                            .IndexRow({0})
                            .Build();
  EXPECT_EQ(PixelsOf(Decode(Cut(topDown, topDown.size() - 4))), (Rows{{kRed}, {kRed}, {kBlack}}));
}

TEST(BmpReader, InvalidHeadersAreRefused) {
  const auto rgb = [](std::int32_t width, std::int32_t height) {
    return BmpBuilder(width, height, 24).Rgb24Row({kRed});
  };
  EXPECT_EQ(ErrorOf(rgb(1, 1).Signature('B', 'A').Build()), kNotValid);
  EXPECT_EQ(ErrorOf(rgb(1, 1).Planes(2).Build()), kNotValid);
  EXPECT_EQ(ErrorOf(rgb(1, 1).Planes(0).Header(BmpHeaderKind::kCore).Build()), kNotValid);
  Bytes unknownHeader = rgb(1, 1).Build();
  PokeU32(unknownHeader, 14, 20);
  EXPECT_EQ(ErrorOf(unknownHeader), kNotValid);

  // Empty sizes are not valid; an image of more than 16 Mi pixels (64 MiB) is refused from the
  // header alone as the allocation failure it would be, whatever its shape.
  for (auto [width, height, error] :
       std::vector<std::tuple<std::int32_t, std::int32_t, std::string>>{
           {-1, 1, kNotValid},
           {0, 1, kNotValid},
           {1, 0, kNotValid},
           {16384, 16384, kOutOfMemory},
           {1, INT32_MIN, kOutOfMemory},
           {INT32_MAX, INT32_MAX, kOutOfMemory},
           {4097, 4096, kOutOfMemory}}) {
    EXPECT_EQ(ErrorOf(rgb(width, height).Build()), error) << width << " x " << height;
  }
  // No limit on either side alone.
  EXPECT_EQ(Decode(rgb(65535, 1).Header(BmpHeaderKind::kCore).Build()).size(), QSize(65535, 1));
  EXPECT_EQ(Decode(rgb(4096, -4096).Build()).size(), QSize(4096, 4096));
  BmpBuilder tall(1, 64000, 24);
  for (int row = 0; row < 64000; ++row) tall.Rgb24Row({row % 2 == 0 ? kRed : kBlue});
  const QImage tallImage = Decode(tall.Build());
  ASSERT_EQ(tallImage.size(), QSize(1, 64000));
  EXPECT_EQ(tallImage.pixel(0, 0), kRed);
  EXPECT_EQ(tallImage.pixel(0, 63999), kBlue);

  // Bit count and compression pairs that are not BMP formats.
  for (auto [bits, compression] : std::vector<std::pair<int, std::uint32_t>>{{0, bc::kRgb},
                                                                             {2, bc::kRgb},
                                                                             {7, bc::kRgb},
                                                                             {64, bc::kRgb},
                                                                             {4, bc::kRle8},
                                                                             {8, bc::kRle4},
                                                                             {24, bc::kBitFields},
                                                                             {8, bc::kBitFields},
                                                                             {24, bc::kJpeg},
                                                                             {0, bc::kPng},
                                                                             {32, 7},
                                                                             {8, 0x80000001u}}) {
    EXPECT_EQ(ErrorOf(BmpBuilder(1, 1, bits)
                          .Compression(compression)
                          .Masks({0xF, 0xF0, 0xF00})
                          .Row({0, 0, 0, 0})
                          .Build()),
              kNotValid)
        << bits << " bits, compression " << compression;
  }
  // Run-length data cannot be stored top-down.
  EXPECT_EQ(ErrorOf(BmpBuilder(1, 1, 8).Compression(bc::kRle8).TopDown().Build()), kNotValid);
  // Masks must be one run of bits inside the pixel.
  for (auto masks :
       std::vector<std::vector<std::uint32_t>>{{0xF00F, 0x0F0, 0}, {0x1F0000, 0x07E0, 0x001F}}) {
    EXPECT_EQ(
        ErrorOf(BmpBuilder(1, 1, 16).Compression(bc::kBitFields).Masks(masks).Row16({0}).Build()),
        kNotValid);
  }
}

TEST(BmpReader, IndexedBitmapsUseThePaletteMostSignificantBitsFirst) {
  const Bytes oneBit = BmpBuilder(10, 1, 1).Palette({kRed, kWhite}).Row({0xB0, 0x80}).Build();
  EXPECT_EQ(PixelsOf(Decode(oneBit)),
            (Rows{{kWhite, kRed, kWhite, kWhite, kRed, kRed, kRed, kRed, kWhite, kRed}}));
  const auto p = Palette16();
  EXPECT_EQ(PixelsOf(Decode(BmpBuilder(3, 1, 4).Palette(p).Row({0x1F, 0x20}).Build())),
            (Rows{{p[1], p[15], p[2]}}));
  // An index past a short palette reads black.
  const Bytes eightBit = BmpBuilder(4, 2, 8)
                             .Palette({kRed, kGreen, kBlue})
                             .IndexRow({2, 0, 3, 255})
                             .IndexRow({1, 1, 1, 1})
                             .Build();
  EXPECT_EQ(PixelsOf(Decode(eightBit)),
            (Rows{{kBlue, kRed, kBlack, kBlack}, {kGreen, kGreen, kGreen, kGreen}}));
  // A huge colours-used count means the full palette.
  std::vector<QRgb> full(256, kWhite);
  full[255] = kGreen;
  EXPECT_EQ(PixelsOf(Decode(
                BmpBuilder(1, 1, 8).Palette(full).ColoursUsed(0xFFFFFFFF).IndexRow({255}).Build())),
            (Rows{{kGreen}}));
}

TEST(BmpReader, DirectColourBitmapsScaleTheirChannels) {
  // 16 bits without masks: 5-5-5, the top bit unused.
  EXPECT_EQ(PixelsOf(Decode(
                BmpBuilder(5, 1, 16).Row16({0x7C00, 0x03E0, 0x001F, 0x4210, 0x8000}).Build())),
            (Rows{{kRed, kGreen, kBlue, qRgb(132, 132, 132), kBlack}}));
  EXPECT_EQ(PixelsOf(Decode(BmpBuilder(4, 1, 16)
                                .Compression(bc::kBitFields)
                                .Masks({0xF800, 0x07E0, 0x001F})
                                .Row16({0xF800, 0x07E0, 0x001F, 0x0410})
                                .Build())),
            (Rows{{kRed, kGreen, kBlue, qRgb(0, 130, 132)}}));
  // 24 bits: blue, green, red bytes; rows of 9 bytes padded to 12.
  EXPECT_EQ(PixelsOf(Decode(BmpBuilder(3, 2, 24)
                                .Row({0, 0, 255, 0, 255, 0, 255, 0, 0})
                                .Row({1, 2, 3, 4, 5, 6, 7, 8, 9})
                                .Build())),
            (Rows{{kRed, kGreen, kBlue}, {qRgb(3, 2, 1), qRgb(6, 5, 4), qRgb(9, 8, 7)}}));
  // 32 bits without masks: the top byte is ignored and the result is opaque.
  const QImage opaque =
      Decode(BmpBuilder(3, 1, 32).Row32({0x00FF0000, 0x7F00FF00, 0xFF0000FF}).Build());
  EXPECT_EQ(PixelsOf(opaque), (Rows{{kRed, kGreen, kBlue}}));
  EXPECT_FALSE(opaque.hasAlphaChannel());
  // Masks wider and narrower than 8 bits.
  EXPECT_EQ(PixelsOf(Decode(BmpBuilder(2, 1, 32)
                                .Compression(bc::kBitFields)
                                .Masks({0x3FF00000, 0x000FFC00, 0x000003FF})
                                .Row32({1023u << 20 | 512u << 10, 4u << 20 | 3u << 10 | 1023})
                                .Build())),
            (Rows{{qRgb(255, 128, 0), qRgb(1, 0, 255)}}));
  EXPECT_EQ(PixelsOf(Decode(BmpBuilder(1, 1, 32)
                                .Compression(bc::kBitFields)
                                .Masks({0xF00, 0x0F0, 0x00F})
                                .Row32({0xF80})
                                .Build())),
            (Rows{{qRgb(255, 136, 0)}}));
  // Alpha bit fields: four masks follow the header; with no pixel offset the pixels follow
  // the fourth.
  EXPECT_EQ(PixelsOf(Decode(BmpBuilder(1, 2, 32)
                                .Compression(bc::kAlphaBitFields)
                                .Masks({0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000})
                                .PixelOffset(0)
                                .Row32({0x80332211})
                                .Row32({0x000000FF})
                                .Build())),
            (Rows{{qRgb(0x11, 0x22, 0x33)}, {kRed}}));
}

TEST(BmpReader, CoreAndLaterHeaders) {
  using enum BmpHeaderKind;
  const std::vector<QRgb> p = Palette16();
  // Core: RGB triples; with no pixel offset the pixels follow the triples.
  EXPECT_EQ(PixelsOf(Decode(BmpBuilder(2, 1, 1)
                                .Header(kCore)
                                .Palette({kRed, kBlue})
                                .PixelOffset(0)
                                .Row({0x40})
                                .Build())),
            (Rows{{kRed, kBlue}}));
  EXPECT_EQ(
      PixelsOf(Decode(BmpBuilder(3, 1, 4).Header(kCore).Palette(p).Row({0x5A, 0x30}).Build())),
      (Rows{{p[5], p[10], p[3]}}));
  EXPECT_EQ(PixelsOf(Decode(BmpBuilder(2, 1, 24).Header(kCore).Rgb24Row({kGreen, kRed}).Build())),
            (Rows{{kGreen, kRed}}));
  // V2 to V5 hold the masks in the header.
  EXPECT_EQ(PixelsOf(Decode(BmpBuilder(2, 1, 16)
                                .Header(kV2)
                                .Compression(bc::kBitFields)
                                .Masks({0xF800, 0x07E0, 0x001F})
                                .Row16({0xF800, 0x001F})
                                .Build())),
            (Rows{{kRed, kBlue}}));
  EXPECT_EQ(PixelsOf(Decode(BmpBuilder(1, 1, 32)
                                .Header(kV3)
                                .Compression(bc::kBitFields)
                                .Masks({0xFF, 0xFF00, 0xFF0000, 0xFF000000})
                                .Row32({0x00FF0000})
                                .Build())),
            (Rows{{kBlue}}));
  EXPECT_EQ(PixelsOf(Decode(BmpBuilder(1, 1, 32)
                                .Header(kV4)
                                .Compression(bc::kBitFields)
                                .Masks({0xFF000000, 0x00FF0000, 0x0000FF00})
                                .Row32({0x11223344})
                                .Build())),
            (Rows{{qRgb(0x11, 0x22, 0x33)}}));
  // Masks in the header count only with bit-field compression.
  EXPECT_EQ(PixelsOf(Decode(BmpBuilder(1, 1, 16)
                                .Header(kV4)
                                .Masks({0xF800, 0x07E0, 0x001F})
                                .Row16({0x7C00})
                                .Build())),
            (Rows{{kRed}}));
  EXPECT_EQ(PixelsOf(Decode(BmpBuilder(2, 1, 24).Header(kV5).Rgb24Row({kBlue, kWhite}).Build())),
            (Rows{{kBlue, kWhite}}));
  EXPECT_EQ(PixelsOf(Decode(
                BmpBuilder(2, 1, 8).Header(kV5).Palette({kRed, kGreen}).IndexRow({1, 0}).Build())),
            (Rows{{kGreen, kRed}}));
}

TEST(BmpReader, TopDownRowsAreStoredTopFirst) {
  EXPECT_EQ(PixelsOf(Decode(BmpBuilder(1, 3, 24)
                                .TopDown()
                                .Rgb24Row({kRed})
                                .Rgb24Row({kGreen})
                                .Rgb24Row({kBlue})
                                .Build())),
            (Rows{{kRed}, {kGreen}, {kBlue}}));
  Bytes raw = BmpBuilder(1, 2, 16)
                  .TopDown()
                  .Compression(bc::kBitFields)
                  .Masks({0xF800, 0x07E0, 0x001F})
                  .Row16({0xF800})
                  .Row16({0x07E0})
                  .Build();
  EXPECT_EQ(PixelsOf(Decode(raw)), (Rows{{kRed}, {kGreen}}));
}

TEST(BmpReader, PixelOffsetIsUsedWhenItLiesWithinTheFile) {
  // Four bytes of gap before the pixels.
  const auto withGap = [](std::uint32_t offset) {
    return BmpBuilder(1, 1, 24)
        .PixelOffset(offset)
        .RawPixelData({0xAA, 0xAA, 0xAA, 0xAA, 0, 0, 255, 0})
        .Build();
  };
  EXPECT_EQ(PixelsOf(Decode(withGap(58))), (Rows{{kRed}}));
  EXPECT_EQ(PixelsOf(Decode(withGap(62))), (Rows{{kBlack}}));  // at the end: no pixels
  // Before the pixels could start, or past the end: the pixels follow the headers.
  for (std::uint32_t offset : {0u, 20u, 53u, 63u, 0xFFFFFFF0u}) {
    EXPECT_EQ(PixelsOf(Decode(withGap(offset))), (Rows{{qRgb(0xAA, 0xAA, 0xAA)}})) << offset;
  }
}

TEST(BmpReader, Rle8RunsDeltasAndAbsoluteRuns) {
  EXPECT_EQ(PixelsOf(Decode(Rle8(4, 3, {3, 1, 0, 0,        // bottom row: 3 x green, end of line
                                        0, 3, 2, 3, 0, 0,  // absolute: blue white red, padded
                                        0, 0,              // end of line
                                        0, 2, 2, 0, 1, 3,  // right 2, one white
                                        0, 1, 4, 2}))),    // end of bitmap; the rest unused
            (Rows{{kBlack, kBlack, kWhite, kBlack},
                  {kBlue, kWhite, kRed, kBlack},
                  {kGreen, kGreen, kGreen, kBlack}}));
  // A delta moves up as well; pixels never set are black.
  EXPECT_EQ(
      PixelsOf(Decode(Rle8(3, 3, {0, 2, 1, 2, 1, 0}))),
      (Rows{{kBlack, kRed, kBlack}, Rows::value_type(3, kBlack), Rows::value_type(3, kBlack)}));
}

TEST(BmpReader, Rle4AlternatesNibbles) {
  const auto p = Palette16();
  const Bytes bytes = BmpBuilder(7, 2, 4)
                          .Compression(bc::kRle4)
                          .Palette(p)
                          .RawPixelData({7, 0x12, 0, 0,              // 1 2 1 2 1 2 1
                                         0, 5, 0x67, 0x89, 0xA0, 0,  // absolute 6..10, padded
                                         2, 0xBB, 0, 1})             // 11 11, end of bitmap
                          .Build();
  EXPECT_EQ(PixelsOf(Decode(bytes)), (Rows{{p[6], p[7], p[8], p[9], p[10], p[11], p[11]},
                                           {p[1], p[2], p[1], p[2], p[1], p[2], p[1]}}));
}

TEST(BmpReader, DamagedRunLengthDataStaysInsideTheImage) {
  // Runs past the right edge are clipped, not wrapped onto the next row.
  EXPECT_EQ(PixelsOf(Decode(Rle8(3, 2, {5, 1, 1, 0, 0, 0, 0, 5, 2, 2, 2, 2, 2, 0}))),
            (Rows{{kBlue, kBlue, kBlue}, {kGreen, kGreen, kGreen}}));
  // Endless moves right and a delta far past the top.
  std::vector<std::uint8_t> deltas;
  for (int i = 0; i < 20000; ++i) deltas.insert(deltas.end(), {0, 2, 255, 0});
  deltas.insert(deltas.end(), {1, 0, 0, 0, 1, 1, 0, 2, 255, 255, 3, 0});
  EXPECT_EQ(PixelsOf(Decode(Rle8(3, 2, deltas))),
            (Rows{{kGreen, kBlack, kBlack}, {kBlack, kBlack, kBlack}}));
  // Data that stops inside a command.
  for (std::vector<std::uint8_t> data :
       std::vector<std::vector<std::uint8_t>>{{5}, {0}, {0, 2, 1}, {0, 6, 1, 2}, {0, 3}, {0, 2}}) {
    const QImage image = Decode(Rle8(3, 1, data));
    const QRgb first = data.size() == 4 ? kGreen : kBlack;
    const QRgb second = data.size() == 4 ? kBlue : kBlack;
    EXPECT_EQ(PixelsOf(image), (Rows{{first, second, kBlack}})) << data.size();
  }
  const Bytes rle4 = BmpBuilder(3, 1, 4)
                         .Compression(bc::kRle4)
                         .Palette({kRed, kGreen, kBlue})
                         .RawPixelData({0, 5, 0x12})
                         .Build();
  EXPECT_EQ(PixelsOf(Decode(rle4)), (Rows{{kGreen, kBlue, kBlack}}));
}

// Every variant above, cut at every length and with random bytes changed, decodes or fails
// with one of the reader's messages (and, built with sanitizers, never touches memory
// outside its buffers).
TEST(BmpReader, CutAndCorruptedFilesNeverCrash) {
  const auto p = Palette16();
  std::vector<std::uint8_t> runs;
  for (int i = 0; i < 6; ++i)
    runs.insert(runs.end(), {3, static_cast<std::uint8_t>(i), 0, 4, 1, 2, 3, 0, 0, 0});
  const std::vector<Bytes> variants = {
      BmpBuilder(10, 2, 1).Palette({kRed, kWhite}).Row({0xB0, 0x80}).Row({1, 2}).Build(),
      BmpBuilder(5, 2, 4).Palette(p).Row({0x12, 0x34, 0x50}).Row({0xFF, 0xEE, 0xD0}).Build(),
      BmpBuilder(3, 2, 8).Palette({kRed, kGreen}).IndexRow({0, 1, 0}).IndexRow({1, 1, 0}).Build(),
      BmpBuilder(3, 2, 16).Row16({1, 2, 3}).Row16({4, 5, 6}).Build(),
      BmpBuilder(3, 2, 16)
          .Header(BmpHeaderKind::kV3)
          .Compression(bc::kBitFields)
          .Masks({0xF800, 0x07E0, 0x001F})
          .Row16({1, 2, 3})
          .Row16({4, 5, 6})
          .Build(),
      BmpBuilder(3, 2, 24).TopDown().Rgb24Row({kRed, kGreen, kBlue}).Rgb24Row({1, 2, 3}).Build(),
      BmpBuilder(2, 2, 32)
          .Compression(bc::kAlphaBitFields)
          .Masks({0xFF, 0xFF00, 0xFF0000, 0xFF000000})
          .Row32({1, 2})
          .Row32({3, 4})
          .Build(),
      BmpBuilder(2, 2, 8)
          .Header(BmpHeaderKind::kCore)
          .Palette(std::vector<QRgb>(256, kBlue))
          .IndexRow({1, 2})
          .IndexRow({3, 4})
          .Build(),
      BmpBuilder(2, 1, 24).Header(BmpHeaderKind::kV5).Rgb24Row({kRed, kBlue}).Build(),
      Rle8(6, 6, runs),
      BmpBuilder(6, 6, 4).Compression(bc::kRle4).Palette(p).RawPixelData(runs).Build(),
  };
  std::mt19937 random(20240229);
  for (const Bytes& variant : variants) {
    for (std::size_t size = 0; size <= variant.size(); ++size) {
      const std::string error = ErrorOf(Cut(variant, size));
      EXPECT_TRUE(error.empty() || error == kStreamReadError) << size;
    }
    for (int round = 0; round < 400; ++round) {
      Bytes corrupted = variant;
      for (int change = 0; change < 3; ++change) {
        const std::size_t at = random() % corrupted.size();
        if (at >= 18 && at < 26) continue;  // keep the sizes small enough to allocate quickly
        corrupted[at] = std::byte(random() & 0xFF);
      }
      const std::string error = ErrorOf(corrupted);
      EXPECT_TRUE(error.empty() || error == kStreamReadError || error == kNotValid) << error;
    }
  }
}

}  // namespace
}  // namespace tollwen
