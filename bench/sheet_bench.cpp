// tollwen-level-tool sheet over a pack of 100 levels, with one job and with two, against what a
// designer ran before: render of each of the same 100 levels to a PNG of its own (and then
// ImageMagick's montage, which is not measured here).
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <string>
#include <vector>

#include "bench_level.h"
#include "silenced_stdout.h"
#include "tool/tool_cli.h"

namespace tollwen::bench {
namespace {

constexpr int kLevels = 100;

const LevelPack& Pack() {
  static const LevelPack pack(kLevels);
  return pack;
}

std::string Output(const std::string& name) {
  static const QTemporaryDir out;
  return out.filePath(QString::fromStdString(name)).toStdString();
}

// Wall-clock time: what the designer waits for.
void BM_SheetHundredLevels(benchmark::State& state) {
  const std::vector<std::string> args = {Pack().Folder(), "-o", Output("sheet.png"), "--jobs",
                                         std::to_string(state.range(0))};
  int status = 0;
  for (auto _ : state) {
    const SilencedStdout silenced;
    status = tool::RunSheet(args);
  }
  // Every tenth level has a short row: warnings, no error.
  if (status != tool::kExitOk) state.SkipWithError("the sheet failed");
  state.counters["levels"] = kLevels;
}
BENCHMARK(BM_SheetHundredLevels)
    ->ArgName("jobs")
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_RenderHundredLevels(benchmark::State& state) {
  int failures = 0;
  for (auto _ : state) {
    failures = 0;
    int i = 0;
    for (const std::string& picture : Pack().Pictures()) {
      const std::string output = Output("level" + std::to_string(i++) + ".png");
      failures += tool::RunRender({picture, "-o", output}) != tool::kExitOk;
    }
  }
  if (failures != 0) state.SkipWithError("a render failed");
  state.counters["levels"] = kLevels;
}
BENCHMARK(BM_RenderHundredLevels)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace tollwen::bench
