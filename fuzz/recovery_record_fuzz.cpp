// Feeds arbitrary bytes to the recovery record readers: each takes a whole record or nothing;
// what the reader of this version takes is exactly what the writer writes for the level it read,
// and what the reader of the earlier version's records takes is kept again as this version's.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "storage/recovery_store.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto level = tollwen::ParseRecoveryRecord(bytes);
  if (level && tollwen::RecoveryRecordText(*level) != bytes) std::abort();
  const auto earlier = tollwen::ParseEarlierRecoveryRecord(bytes);
  if (earlier && tollwen::ParseRecoveryRecord(tollwen::RecoveryRecordText(*earlier)) != earlier)
    std::abort();
  return 0;
}
