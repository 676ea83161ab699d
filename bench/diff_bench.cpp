// tollwen-level-tool diff with a picture against render of the same level: what comparing two
// data files and outlining the changed cells adds to rendering the new level.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <string>
#include <vector>

#include "bench_level.h"
#include "silenced_stdout.h"
#include "support/jpeg_writer.h"
#include "tool/tool_cli.h"

namespace tollwen::bench {
namespace {

// The benchmark level, an older version of its data file with four rows different, and a
// folder for the PNGs.
class ChangedLevel {
 public:
  ChangedLevel() {
    std::string old = "theme.xm\r\n";
    for (int row = 0; row < 13; ++row)
      old += (row % 4 == 0 ? "0000000000000000000" : "123456789ABCDEF1234") + std::string("\r\n");
    test::WriteBytes(OldDataPath(), std::vector<unsigned char>(old.begin(), old.end()));
  }
  const BenchLevel& Level() const { return level_; }
  std::string OldDataPath() const { return out_.filePath("old.dat").toStdString(); }
  std::string Output(const char* name) const { return out_.filePath(name).toStdString(); }

 private:
  BenchLevel level_;
  QTemporaryDir out_;
};

void BM_DiffWithPicture(benchmark::State& state) {
  static const ChangedLevel level;
  const std::vector<std::string> args = {level.OldDataPath(),
                                         level.Level().DataPath(),
                                         "--picture",
                                         level.Level().PicturePath(),
                                         "-o",
                                         level.Output("diff.png")};
  int status = 0;
  for (auto _ : state) {
    const SilencedStdout silenced;
    status = tool::RunDiff(args);
  }
  if (status != tool::kExitLevelError) state.SkipWithError("the levels should differ");
}
BENCHMARK(BM_DiffWithPicture)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RenderSameLevel(benchmark::State& state) {
  static const ChangedLevel level;
  const std::vector<std::string> args = {level.Level().PicturePath(), "-o",
                                         level.Output("render.png")};
  int status = 0;
  for (auto _ : state) status = tool::RunRender(args);
  if (status != tool::kExitOk) state.SkipWithError("the render failed");
}
BENCHMARK(BM_RenderSameLevel)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace tollwen::bench
