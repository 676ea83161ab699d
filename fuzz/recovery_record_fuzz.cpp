// Feeds arbitrary bytes to the recovery record reader: it takes a whole record or nothing, and
// what it takes is exactly what the writer writes for the level it read.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "storage/recovery_store.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto level = tollwen::ParseRecoveryRecord(bytes);
  if (level && tollwen::RecoveryRecordText(*level) != bytes) std::abort();
  return 0;
}
