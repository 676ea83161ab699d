// Opening crafted JPEG files as level pictures (repeated scans, headers that promise far more
// pixels than the file holds) against opening a normal level picture: the most time and memory
// a hostile file can cost. Memory is the growth of the peak resident size over one open, taken
// in a forked child so that the benchmark's own history does not count.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QTemporaryDir>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "bench_level.h"
#include "level/errors.h"
#include "level/level_picture.h"
#include "storage/picture_file.h"
#include "support/child_process.h"
#include "support/hostile_jpegs.h"
#include "support/jpeg_writer.h"

namespace tollwen::bench {
namespace {

using test::NamedJpeg;

// The test suite's hostile files, plus the worst the limits allow of each kind: a progressive
// picture as large as the decoder's memory limit allows with as many scans as are accepted; an
// arithmetic-coded picture of 67 million pixels whose data is all there; and pictures of
// another size whose reading through is as slow as it gets, a byte (Huffman and arithmetic-coded
// noise, progressive or not) or a block (a flat picture of 268 million pixels) at a time.
const std::vector<NamedJpeg>& Files() {
  using test::FillPattern;
  using test::JpegColourSpace;
  static const std::vector<NamedJpeg> files = [] {
    std::vector<NamedJpeg> all = test::HostileJpegs(kMaxJpegScans);
    all.push_back({"progressive_1984x1984_96_scans", [] {
                     // A grayscale progressive picture has 6 scans: 16 copies stay within the
                     // limit.
                     return test::RepeatScans(
                         test::MakeJpeg({.width = 1984,
                                         .height = 1984,
                                         .colourSpace = JpegColourSpace::kGrayscale,
                                         .progressive = true,
                                         .quality = 50}),
                         96);
                   }});
    all.push_back({"arithmetic_8192x8192", [] {
                     return test::MakeJpeg({.width = 8192,
                                            .height = 8192,
                                            .colourSpace = JpegColourSpace::kGrayscale,
                                            .arithmetic = true,
                                            .pattern = FillPattern::kSolid});
                   }});
    all.push_back({"huffman_noise_16384x8192", [] {
                     return test::MakeStackedJpeg({.width = 16384,
                                                   .height = 8192,
                                                   .colourSpace = JpegColourSpace::kGrayscale,
                                                   .quality = 80,
                                                   .pattern = FillPattern::kNoise});
                   }});
    all.push_back({"arithmetic_flat_16384x16384", [] {
                     return test::MakeStackedJpeg({.width = 16384,
                                                   .height = 16384,
                                                   .colourSpace = JpegColourSpace::kGrayscale,
                                                   .arithmetic = true,
                                                   .pattern = FillPattern::kSolid});
                   }});
    all.push_back({"progressive_arithmetic_noise_2000x2000_100_scans", [] {
                     return test::RepeatScans(
                         test::MakeJpeg({.width = 2000,
                                         .height = 2000,
                                         .colourSpace = JpegColourSpace::kGrayscale,
                                         .progressive = true,
                                         .arithmetic = true,
                                         .quality = 95,
                                         .pattern = FillPattern::kNoise}),
                         100);
                   }});
    return all;
  }();
  return files;
}

// What opening the picture gives; the verdict is not needed, only the work.
void Open(const std::string& path) {
  try {
    benchmark::DoNotOptimize(LoadLevelPicture(path));
  } catch (const EditorError&) {
  }
}

long StatusKiB(const std::string& field) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind(field + ":", 0) == 0) return std::stol(line.substr(field.size() + 1));
  }
  return 0;
}

// The peak resident memory one open adds, in MiB.
double PeakGrowthMiB(const std::string& path) {
  const std::string grown = test::RunInChild([&] {
    ::malloc_trim(0);  // memory freed before must be taken from the system again
    std::ofstream("/proc/self/clear_refs") << "5";
    const long before = StatusKiB("VmRSS");
    Open(path);
    return std::to_string(StatusKiB("VmHWM") - before);
  });
  return grown.find_first_not_of("0123456789") == std::string::npos && !grown.empty()
             ? std::stod(grown) / 1024.0
             : -1.0;
}

void Measure(benchmark::State& state, const std::string& path, const std::string& label) {
  for (auto _ : state) Open(path);
  state.SetLabel(label);
  std::ifstream file(path, std::ios::binary | std::ios::ate);
  state.counters["file_KiB"] = static_cast<double>(file.tellg()) / 1024.0;
  state.counters["peak_growth_MiB"] = PeakGrowthMiB(path);
}

void BM_OpenHostileJpeg(benchmark::State& state) {
  const NamedJpeg& file = Files().at(static_cast<std::size_t>(state.range(0)));
  QTemporaryDir dir;
  const std::string path = dir.filePath("hostile.jpg").toStdString();
  test::WriteBytes(path, file.make());
  Measure(state, path, file.name);
}
BENCHMARK(BM_OpenHostileJpeg)->DenseRange(0, 15)->Unit(benchmark::kMillisecond);

void BM_OpenNormalLevelPicture(benchmark::State& state) {
  BenchLevel level;
  Measure(state, level.PicturePath(), "640x447 level picture");
}
BENCHMARK(BM_OpenNormalLevelPicture)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tollwen::bench
