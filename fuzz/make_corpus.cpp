// Writes the seed corpora for the fuzz targets: valid files of every kind the readers take,
// plus cut and corrupted copies of them.
//   make_fuzz_corpus <dir>    writes <dir>/data_file, <dir>/bmp and <dir>/jpeg
#include <QImage>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "storage/recovery_store.h"
#include "storage/save_journal.h"
#include "support/bmp_builder.h"
#include "support/earlier_recovery_record.h"
#include "support/jpeg_writer.h"

namespace {

namespace fs = std::filesystem;
using tollwen::BmpBuilder;
using tollwen::BmpHeaderKind;
namespace compression = tollwen::bmp_compression;
using Bytes = std::vector<unsigned char>;

void Write(const fs::path& path, const Bytes& bytes) {
  tollwen::test::WriteBytes(path.string(), bytes);
}

Bytes FromBytes(const std::vector<std::byte>& bytes) {
  Bytes out(bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i) out[i] = static_cast<unsigned char>(bytes[i]);
  return out;
}

// Writes `bytes`, a copy cut in half and a copy with a few bytes flipped in its header.
void WriteWithDamage(const fs::path& dir, const std::string& name, const Bytes& bytes) {
  Write(dir / name, bytes);
  Write(dir / (name + ".cut"), Bytes(bytes.begin(), bytes.begin() + bytes.size() / 2));
  Bytes flipped = bytes;
  for (size_t at = 2; at < flipped.size() && at < 64; at += 7) flipped[at] ^= 0x5A;
  Write(dir / (name + ".flipped"), flipped);
}

void WriteDataFiles(const fs::path& dir) {
  const std::string blankRow = "0000000000000000000";
  std::string wellFormed = "tune.mod\r\n";
  for (int row = 0; row < 13; ++row)
    wellFormed += (row == 3 ? "123456789ABCDEF0000" : blankRow) + "\r\n";
  std::string lfOnly = "theme.xm\n";
  for (int row = 0; row < 13; ++row) lfOnly += blankRow + "\n";
  const std::vector<std::pair<std::string, std::string>> files = {
      {"well_formed.dat", wellFormed},
      {"lf_only.dat", lfOnly},
      {"cr_only.dat", "a\rb\rc\r"},
      {"short.dat", "music.mid\r\n0123\r\n\r\nABCDEF"},
      {"long_line.dat", "x\r\n" + std::string(300, '7') + "\r\n"},
      {"empty.dat", ""},
      {"end_of_file_char.dat", "song.it\r\n\x1a"},
      {"long_music_line.dat", std::string(100000, 'm') + "\r\n" + blankRow + "\r\n"},
  };
  for (const auto& [name, text] : files) Write(dir / name, Bytes(text.begin(), text.end()));
}

void WriteBmps(const fs::path& dir) {
  QImage tile(32, 32, QImage::Format_RGB32);
  tile.fill(qRgb(255, 0, 255));
  for (int i = 4; i < 28; ++i) tile.setPixel(i, 16, qRgb(0, 0, 0));
  WriteWithDamage(dir, "tile24.bmp", FromBytes(tollwen::Bmp24FromImage(tile)));

  const std::vector<QRgb> palette = {qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(0, 128, 128),
                                     qRgb(200, 40, 40)};
  WriteWithDamage(dir, "pal1.bmp",
                  FromBytes(BmpBuilder(8, 2, 1)
                                .Palette({palette[0], palette[1]})
                                .IndexRow({0, 1, 0, 1, 1, 0, 1, 0})
                                .IndexRow({1, 1, 1, 1, 0, 0, 0, 0})
                                .Build()));
  WriteWithDamage(dir, "pal4.bmp",
                  FromBytes(BmpBuilder(4, 2, 4)
                                .Palette(palette)
                                .IndexRow({0, 1, 2, 3})
                                .IndexRow({3, 2, 1, 0})
                                .Build()));
  WriteWithDamage(dir, "pal8_core.bmp",
                  FromBytes(BmpBuilder(3, 2, 8)
                                .Header(BmpHeaderKind::kCore)
                                .Palette(palette)
                                .IndexRow({0, 1, 2})
                                .IndexRow({2, 3, 0})
                                .Build()));
  WriteWithDamage(dir, "rle8.bmp",
                  FromBytes(BmpBuilder(8, 4, 8)
                                .Compression(compression::kRle8)
                                .Palette(palette)
                                .RawPixelData({4, 1, 0, 3, 2, 3, 1, 0, 0, 2, 2, 1, 0, 1})
                                .Build()));
  WriteWithDamage(dir, "rle4.bmp",
                  FromBytes(BmpBuilder(8, 2, 4)
                                .Compression(compression::kRle4)
                                .Palette(palette)
                                .RawPixelData({6, 0x12, 0, 3, 0x30, 0x20, 0, 0, 0, 1})
                                .Build()));
  WriteWithDamage(dir, "bitfields16.bmp",
                  FromBytes(BmpBuilder(2, 2, 16)
                                .Compression(compression::kBitFields)
                                .Masks({0xF800, 0x07E0, 0x001F})
                                .Row16({0xF800, 0x07E0})
                                .Row16({0x001F, 0xFFFF})
                                .Build()));
  WriteWithDamage(dir, "v5_32_top_down.bmp",
                  FromBytes(BmpBuilder(2, 2, 32)
                                .Header(BmpHeaderKind::kV5)
                                .Compression(compression::kBitFields)
                                .Masks({0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000})
                                .TopDown()
                                .Row32({0xFFFF0000, 0xFF00FF00})
                                .Row32({0xFF0000FF, 0})
                                .Build()));

  // A header claiming 16384 x 16384 (over the pixel limit) with no pixels, and a valid bitmap
  // far taller than wide.
  Write(dir / "header_16384x16384.bmp", FromBytes(BmpBuilder(16384, 16384, 24).Build()));
  BmpBuilder tall(1, 64000, 24);
  for (int row = 0; row < 64000; ++row) tall.Rgb24Row({qRgb(row % 256, 0, 0)});
  Write(dir / "tall_1x64000.bmp", FromBytes(tall.Build()));
}

void WriteJpegs(const fs::path& dir) {
  using tollwen::test::JpegColourSpace;
  using tollwen::test::JpegOptions;
  // Level pictures, 640 x 447, the size that takes the decoder into the picture-filling code:
  // each coding the editor meets, whole and damaged.
  const std::pair<const char*, JpegOptions> levels[] = {
      {"level_baseline.jpg", {}},
      {"level_progressive.jpg", {.progressive = true}},
      {"level_arithmetic.jpg", {.arithmetic = true}},
      {"level_progressive_arithmetic.jpg", {.progressive = true, .arithmetic = true}},
      {"level_gray.jpg", {.colourSpace = JpegColourSpace::kGrayscale}},
      {"level_gray_progressive.jpg",
       {.colourSpace = JpegColourSpace::kGrayscale, .progressive = true}},
      {"level_restart_markers.jpg", {.restartEveryRow = true}},
      {"level_444.jpg", {.fullResolutionColour = true}},
      {"level_444_progressive_restarts.jpg",
       {.progressive = true, .fullResolutionColour = true, .restartEveryRow = true}},
      {"level_low_quality.jpg", {.quality = 20, .pattern = tollwen::test::FillPattern::kChecker}},
  };
  for (const auto& [name, options] : levels)
    WriteWithDamage(dir, name, tollwen::test::MakeJpeg(options));
  // Small pictures keep the fuzzer fast; the decoder takes the same paths at every size.
  JpegOptions colour{.width = 40, .height = 24};
  WriteWithDamage(dir, "colour.jpg", tollwen::test::MakeJpeg(colour));
  JpegOptions progressive{.width = 33, .height = 17, .progressive = true};
  WriteWithDamage(dir, "progressive.jpg", tollwen::test::MakeJpeg(progressive));
  JpegOptions gray{.width = 16, .height = 16, .colourSpace = JpegColourSpace::kGrayscale};
  WriteWithDamage(dir, "gray.jpg", tollwen::test::MakeJpeg(gray));
  JpegOptions cmyk{.width = 8, .height = 8, .colourSpace = JpegColourSpace::kCmyk};
  Write(dir / "cmyk.jpg", tollwen::test::MakeJpeg(cmyk));

  // Hostile files: scans repeated past the loader's limit (Huffman and arithmetic coding), and
  // headers that claim far more pixels than the file holds.
  using tollwen::test::RepeatScans;
  Write(dir / "scan_bomb.jpg", RepeatScans(tollwen::test::MakeJpeg(progressive), 150));
  JpegOptions arithmetic{.width = 16, .height = 16, .progressive = true, .arithmetic = true};
  Write(dir / "arithmetic_scan_bomb.jpg", RepeatScans(tollwen::test::MakeJpeg(arithmetic), 150));
  JpegOptions sequentialArithmetic{.width = 16, .height = 16, .arithmetic = true};
  Write(dir / "arithmetic.jpg", tollwen::test::MakeJpeg(sequentialArithmetic));
  Write(dir / "wide_17000x8.jpg", tollwen::test::MakeJpeg({.width = 17000, .height = 8}));
  for (const auto& [width, height] : {std::pair{16384, 4096}, std::pair{65500, 65500}}) {
    const std::string size = std::to_string(width) + "x" + std::to_string(height);
    for (bool isProgressive : {false, true}) {
      Bytes bytes =
          tollwen::test::MakeJpeg({.width = 8, .height = 8, .progressive = isProgressive});
      tollwen::test::SetJpegDimensions(bytes, width, height);
      Write(dir / ((isProgressive ? "progressive_header_" : "header_") + size + ".jpg"), bytes);
    }
  }
}

void WriteText(const fs::path& path, const std::string& text) {
  Write(path, Bytes(text.begin(), text.end()));
}

void WriteClipboardTexts(const fs::path& dir) {
  const std::pair<const char*, std::string> texts[] = {
      {"room", "550\n55E\n"},
      {"crlf", "0123456789ABCDEF012\r\nfedcba\r\n"},
      {"ragged", "1\n22\n333\n"},
      {"refused", "55\n\n55\n"},
      {"whole_level",
       [] {
         std::string level;
         for (int row = 0; row < 13; ++row) level += "0123456789ABCDEF012\n";
         return level;
       }()},
  };
  for (const auto& [name, text] : texts) WriteText(dir / name, text);
}

// Recovery records and save journals as the editor writes them, with their damaged copies.
void WriteRecords(const fs::path& records, const fs::path& journals) {
  tollwen::RecoveredLevel level;
  level.picturePath = "/home/designer/levels/level3.jpg";
  level.dataPath = "/home/designer/levels/level3.dat";
  level.musicName = "theme.xm";
  for (int column = 1; column <= 19; ++column) level.grid.SetCell(column, 2, '5');
  level.savedAt = 1765300000;
  level.dataStamp = {true, {2049, 131075}, 290, 1765290000, 123456789, 42, false, {}, {}};
  const auto write = [](const fs::path& path, const std::string& text) {
    WriteWithDamage(path.parent_path(), path.filename().string(), Bytes(text.begin(), text.end()));
  };
  write(records / "level", tollwen::RecoveryRecordText(level));
  level.picturePath.clear();
  level.dataStamp = {true, {1, 2}, 0, 0, 0, 0, true, {3, 4}, "../shared/level3.dat"};
  write(records / "new_level_through_link", tollwen::RecoveryRecordText(level));
  write(records / "earlier_version", tollwen::test::EarlierRecordText(level));

  const std::string old = "cave.mod\r\n" + std::string(19, '1') + "\r\n";
  const std::string saved = "cave2.xm\r\n" + std::string(19, 'F') + "\r\n";
  write(journals / "journal",
        tollwen::EncodeJournal({{2049, 131075}, {1765290000, 5}, old, saved}));
  write(journals / "journal_empty_contents", tollwen::EncodeJournal({{1, 2}, {}, "", ""}));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <corpus-dir>\n", argv[0]);
    return 2;
  }
  const fs::path root = argv[1];
  for (const char* kind :
       {"data_file", "bmp", "jpeg", "clipboard", "recovery_record", "save_journal"}) {
    fs::create_directories(root / kind);
  }
  WriteDataFiles(root / "data_file");
  WriteBmps(root / "bmp");
  WriteJpegs(root / "jpeg");
  WriteClipboardTexts(root / "clipboard");
  WriteRecords(root / "recovery_record", root / "save_journal");
  return 0;
}
