// What crash recovery costs on the window's thread: saving a level's record (a temporary file
// flushed to the disk, renamed over the old record, the folder flushed), finding it when a
// picture is opened, and finding the newest of ten at start-up. The floor is saving the level's
// own data file into the same folder.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>
#include <string>

#include "storage/data_file.h"
#include "storage/recovery_store.h"

namespace tollwen::bench {
namespace {

RecoveredLevel Level(int number) {
  RecoveredLevel level;
  level.picturePath = "/home/designer/levels/world1/level" + std::to_string(number) + ".jpg";
  level.dataPath = "/home/designer/levels/world1/level" + std::to_string(number) + ".dat";
  level.musicName = "theme.xm";
  for (int row = 1; row <= LevelGrid::kRows; ++row) {
    for (int column = 1; column <= LevelGrid::kColumns; ++column) {
      level.grid.SetCell(column, row, "123456789ABCDEF"[(row + column) % 15]);
    }
  }
  level.savedAt = 1765300000 + number;
  return level;
}

// The benchmarks write where the store would (the home's file system), not to a memory one.
std::string ScratchRoot() {
  const char* home = std::getenv("HOME");
  return home != nullptr && home[0] == '/' ? std::string(home) : QDir::tempPath().toStdString();
}

// Ten records of ten pictures, left behind by an ended session.
void SaveTen(const RecoveryStore& store) {
  const std::string writer = RecoveryStore::NewWriter();
  for (int number = 1; number <= 10; ++number)
    store.Save(Level(number), RecoveryStore::RecordName(Level(number).picturePath, writer));
}

void BM_SaveRecovery(benchmark::State& state) {
  QTemporaryDir dir(QString::fromStdString(ScratchRoot() + "/tollwen-bench-XXXXXX"));
  const RecoveryStore store(dir.path().toStdString() + "/tollwen-level-editor/");
  const RecoveredLevel level = Level(1);
  const std::string name = RecoveryStore::RecordName(level.picturePath, RecoveryStore::NewWriter());
  for (auto _ : state) store.Save(level, name);
}
BENCHMARK(BM_SaveRecovery)->Unit(benchmark::kMillisecond);

void BM_SaveDataFileFloor(benchmark::State& state) {
  QTemporaryDir dir(QString::fromStdString(ScratchRoot() + "/tollwen-bench-XXXXXX"));
  const std::string path = dir.filePath("level1.dat").toStdString();
  const RecoveredLevel level = Level(1);
  for (auto _ : state) WriteDataFile(path, level.musicName, level.grid);
}
BENCHMARK(BM_SaveDataFileFloor)->Unit(benchmark::kMillisecond);

void BM_FindRecovery(benchmark::State& state) {
  QTemporaryDir dir(QString::fromStdString(ScratchRoot() + "/tollwen-bench-XXXXXX"));
  const RecoveryStore store(dir.path().toStdString() + "/tollwen-level-editor/");
  SaveTen(store);
  for (auto _ : state) benchmark::DoNotOptimize(store.LeftFor(Level(5).picturePath));
}
BENCHMARK(BM_FindRecovery)->Unit(benchmark::kMicrosecond);

void BM_NewestOfTenRecoveries(benchmark::State& state) {
  QTemporaryDir dir(QString::fromStdString(ScratchRoot() + "/tollwen-bench-XXXXXX"));
  const RecoveryStore store(dir.path().toStdString() + "/tollwen-level-editor/");
  SaveTen(store);
  for (auto _ : state) benchmark::DoNotOptimize(store.Newest());
}
BENCHMARK(BM_NewestOfTenRecoveries)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tollwen::bench
