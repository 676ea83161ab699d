#include "storage/in_place_save.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "level/errors.h"
#include "storage/posix_file.h"
#include "storage/save_journal.h"

namespace tollwen {

void WriteInPlace(int file, const std::vector<std::string>& pieces,
                  const std::function<void(std::size_t)>& afterPiece) {
  struct stat status {};
  if (::fstat(file, &status) != 0) ThrowInOutError(errno);
  if (static_cast<std::uint64_t>(status.st_size) > MaxJournalledBytes()) {
    throw EditorError(Message(
        QT_TRANSLATE_NOOP("tollwen::Message",
                          "Error: The data file is too large to be written in place (%1 bytes)!"),
        {Message::Verbatim(std::to_string(status.st_size))}));
  }
  SaveJournal journal{FileIdentity::Of(status), BirthOf(file), ReadWhole(file), {}};
  for (const std::string& piece : pieces) journal.newContent += piece;
  const JournalFile written = WriteJournal(journal);

  try {
    std::uint64_t offset = 0;
    for (std::size_t index = 0; index < pieces.size(); ++index) {
      WriteAllAt(file, pieces[index], offset);
      offset += pieces[index].size();
      if (afterPiece) afterPiece(index);
    }
    // Only now is the old content past the new one's end cut off.
    if (::ftruncate(file, static_cast<off_t>(offset)) != 0) ThrowInOutError(errno);
    // EINVAL: the file system cannot sync at all; the content has still been written.
    if (::fsync(file) != 0 && errno != EINVAL) ThrowInOutError(errno);
  } catch (...) {
    try {
      PutBackContent(file, journal.oldContent);
      RemoveJournal(written);
    } catch (const std::exception&) {
      // The journal stays: the next reader puts the old content back.
    }
    throw;
  }
  RemoveJournal(written);
}

}  // namespace tollwen
