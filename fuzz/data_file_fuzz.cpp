// Feeds arbitrary bytes to the level data file reader. It must read or fail with an
// EditorError, and whatever it reads must survive a save and a second read unchanged.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <string>

#include "level/errors.h"
#include "memory_file.h"
#include "storage/data_file.h"

namespace {

// The save goes to memory-backed storage where there is some, so its fsync costs nothing and
// the fuzzer keeps its pace.
std::string RoundTripPath() {
  char dir[] = "/dev/shm/tollwen-fuzz-XXXXXX";
  char fallback[] = "/tmp/tollwen-fuzz-XXXXXX";
  if (mkdtemp(dir) != nullptr) return std::string(dir) + "/level.dat";
  std::copy(std::begin(fallback), std::end(fallback), dir);
  if (mkdtemp(dir) == nullptr) std::abort();
  return std::string(dir) + "/level.dat";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static tollwen::fuzz::MemoryFile file;
  static const std::string saved = RoundTripPath();
  tollwen::LevelGrid grid;
  std::string music;
  try {
    music = tollwen::ReadDataFile(file.Write(data, size), grid);
  } catch (const tollwen::EditorError&) {
    return 0;
  }
  tollwen::WriteDataFile(saved, music, grid);
  tollwen::LevelGrid again;
  if (tollwen::ReadDataFile(saved, again) != music || !(again == grid)) std::abort();
  return 0;
}
