// tollwen-level-tool check over a pack of 1,000 levels against decoding the same 1,000
// pictures with the editor's picture loader and nothing else: the ratio is what the check adds
// (finding the pictures, the size check, the data files' scan, the reports). And the whole check
// command over 400 levels with one job against as many jobs as there are cores.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench_level.h"
#include "level/level_picture.h"
#include "silenced_stdout.h"
#include "storage/picture_file.h"
#include "tool/level_check.h"
#include "tool/level_files.h"
#include "tool/tool_cli.h"

namespace tollwen::bench {
namespace {

constexpr int kLevels = 1000;

void BM_CheckThousandLevels(benchmark::State& state) {
  const LevelPack pack(kLevels);
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
  const LevelPack pack(kLevels);
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
