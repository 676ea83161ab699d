// Feeds arbitrary bytes to the save journal reader: it takes a whole journal or nothing (never
// a size that wraps around), what it takes is exactly what the writer writes, and comparing a
// file's content with it is safe whatever the content.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "storage/save_journal.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto journal = tollwen::DecodeJournal(bytes);
  if (!journal) return 0;
  if (tollwen::EncodeJournal(*journal) != bytes) std::abort();
  if (journal->oldContent.size() > tollwen::MaxJournalledBytes() ||
      journal->newContent.size() > tollwen::MaxJournalledBytes()) {
    std::abort();
  }
  tollwen::IsHalfWritten(*journal, journal->birth, bytes.substr(0, bytes.size() / 2));
  return 0;
}
