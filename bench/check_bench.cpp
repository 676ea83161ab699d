// tollwen-level-tool check over a pack of 1,000 levels against decoding the same 1,000
// pictures with the editor's picture loader and nothing else: the ratio is what the check adds
// (finding the pictures, the size check, the data files' scan, the reports). And the whole check
// command over 400 levels with one job against as many jobs as there are cores.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_level.h"
#include "level/level_picture.h"
#include "silenced_stdout.h"
#include "storage/picture_file.h"
#include "support/jpeg_writer.h"
#include "tool/level_check.h"
#include "tool/level_files.h"
#include "tool/tool_cli.h"

namespace tollwen::bench {
namespace {

constexpr int kLevels = 1000;

// `levels` levels in folders of 100: the photo-like picture and a data file with a tile in
// every cell (every tenth level with a short row, so that the reports are not all empty).
class LevelPack {
 public:
  explicit LevelPack(int levels = kLevels) {
    test::JpegOptions options;
    options.quality = 85;
    const std::vector<unsigned char> jpeg = test::EncodeJpeg(PhotoLikePicture(), options);
    for (int i = 0; i < levels; ++i) {
      const std::string folder = dir_.filePath(QString("world%1").arg(i / 100)).toStdString();
      if (i % 100 == 0) std::filesystem::create_directory(folder);
      char name[32];
      std::snprintf(name, sizeof(name), "/level%04d", i);
      const std::string stem = folder + name;
      test::WriteBytes(stem + ".jpg", jpeg);
      std::string data = "theme.xm\r\n";
      for (int row = 1; row <= 13; ++row) {
        data += (i % 10 == 0 && row == 5) ? "123" : "123456789ABCDEF1234";
        data += "\r\n";
      }
      test::WriteBytes(stem + ".dat", std::vector<unsigned char>(data.begin(), data.end()));
      pictures_.push_back(stem + ".jpg");
    }
  }

  std::string Folder() const { return dir_.path().toStdString(); }
  const std::vector<std::string>& Pictures() const { return pictures_; }

 private:
  QTemporaryDir dir_;
  std::vector<std::string> pictures_;
};

void BM_CheckThousandLevels(benchmark::State& state) {
  const LevelPack pack;
  int problems = 0;
  for (auto _ : state) {
    problems = 0;
    for (const std::string& picture : FindLevelFiles({pack.Folder()}).Pictures()) {
      problems += static_cast<int>(CheckLevel(picture).problems.size());
    }
  }
  if (problems != kLevels / 10) state.SkipWithError("unexpected problems");
  state.counters["levels"] = kLevels;
}
BENCHMARK(BM_CheckThousandLevels)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_DecodeThousandPictures(benchmark::State& state) {
  const LevelPack pack;
  for (auto _ : state) {
    for (const std::string& picture : pack.Pictures()) {
      benchmark::DoNotOptimize(LoadJpegIntoBitmap(picture).constBits());
    }
  }
  state.counters["levels"] = kLevels;
}
BENCHMARK(BM_DecodeThousandPictures)->Unit(benchmark::kMillisecond)->Iterations(3);

// `tollwen-level-tool check --jobs N` over 400 levels, run in the benchmark's process with its
// report going to /dev/null. Wall-clock time: what the user waits for.
void BM_CheckCommandFourHundredLevels(benchmark::State& state) {
  static const LevelPack pack(400);
  const std::vector<std::string> args = {"--jobs", std::to_string(state.range(0)), pack.Folder()};
  int status = 0;
  for (auto _ : state) {
    const SilencedStdout silenced;
    status = tool::RunCheck(args);
  }
  if (status != tool::kExitOk) state.SkipWithError("the check failed");
  state.counters["levels"] = 400;
}
BENCHMARK(BM_CheckCommandFourHundredLevels)
    ->ArgName("jobs")
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);

}  // namespace
}  // namespace tollwen::bench
