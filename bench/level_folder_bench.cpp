// What File > Next Level costs in a folder of 100,000 level pictures, against its floor: reading
// the folder's names once, which finding the neighbouring picture cannot avoid.
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <string>

#include "storage/level_folder.h"

namespace tollwen::bench {
namespace {

constexpr int kPictures = 100000;

// A folder of empty files level1.jpg ... level100000.jpg, made once for every benchmark here.
const std::string& BigFolder() {
  static QTemporaryDir dir;
  static const std::string path = [] {
    const std::string folder = dir.path().toStdString() + "/";
    for (int number = 1; number <= kPictures; ++number) {
      const std::string name = folder + "level" + std::to_string(number) + ".jpg";
      ::close(::open(name.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644));
    }
    return folder;
  }();
  return path;
}

void BM_NextLevelAmong100000Pictures(benchmark::State& state) {
  const std::string picture = BigFolder() + "level50000.jpg";
  for (auto _ : state) benchmark::DoNotOptimize(NeighbourPicture(picture, 1));
}
BENCHMARK(BM_NextLevelAmong100000Pictures)->Unit(benchmark::kMillisecond);

void BM_ReadFolderNamesFloor(benchmark::State& state) {
  const std::string& folder = BigFolder();
  for (auto _ : state) {
    DIR* entries = ::opendir(folder.c_str());
    std::size_t length = 0;
    while (const dirent* entry = ::readdir(entries))
      length += std::char_traits<char>::length(entry->d_name);
    ::closedir(entries);
    benchmark::DoNotOptimize(length);
  }
}
BENCHMARK(BM_ReadFolderNamesFloor)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tollwen::bench
