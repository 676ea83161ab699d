// The journal of a save that writes a data file in place: when a file counts as half written,
// and what the editor's next read does with a journal it finds.
#include "storage/save_journal.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "scratch_dir.h"
#include "storage/data_file.h"
#include "uniform_level.h"

namespace tollwen {
namespace {

namespace fs = std::filesystem;
using testing::LevelText;
using testing::ReadBytes;
using testing::ScratchDir;
using testing::WriteBytes;

TEST(SaveJournalTest, HalfWrittenMeansMadeOfTheOldAndTheNewContentAndNeitherWhole) {
  struct Case {
    std::string current;
    bool halfWritten;
  };
  const SaveJournal journal{{}, {}, "old content, longer", "NEW content"};
  const Case cases[] = {
      {"old content, longer", false},   // not begun
      {"NEW content", false},           // done
      {"NEW content, longer", true},    // written, not yet cut
      {"NEW content,", true},           // cut halfway (the file system's view after a crash)
      {"NEW", false},                   // shorter than either content: somebody else's
      {"old content, longer!", false},  // longer than either
      {"NEw content, longer", false},   // a byte that is in neither
  };
  for (const Case& c : cases)
    EXPECT_EQ(IsHalfWritten(journal, {}, c.current), c.halfWritten) << c.current;

  // Where the new content is longer, the file grows; a part not yet written reads as NULs.
  const SaveJournal growing{{}, {}, "old", "new and longer"};
  EXPECT_TRUE(IsHalfWritten(growing, {}, "new an"));
  EXPECT_TRUE(IsHalfWritten(growing, {}, std::string("new\0\0\0", 6)));
  // A file born after the journal was written has only taken over its inode number.
  const SaveJournal born{{}, {100, 1}, "old content, longer", "NEW content"};
  EXPECT_TRUE(IsHalfWritten(born, {100, 1}, "NEW content, longer"));
  EXPECT_FALSE(IsHalfWritten(born, {200, 1}, "NEW content, longer"));
}

const std::string kOld = LevelText("the-old-and-longer-tune.mod", '1');
const std::string kNew = LevelText("new.mod", '2');

struct Found {
  const char* what;
  std::string onDisk;     // the data file's content when the journal is found
  bool completeJournal;   // false: cut short, as by a crash while it was written
  bool inStateDirectory;  // where a save in a read-only folder keeps it
  std::string read;       // what the editor reads (and the file then holds)
};

// The editor's next read after a save stopped: a half-written file gets its old content back,
// anything else is left as it is, and the journal goes either way.
TEST(SaveJournalTest, NextReadPutsTheOldContentBackAfterAnInterruptedSave) {
  const std::string mixed = kNew + kOld.substr(kNew.size());
  const Found cases[] = {
      {"half written", mixed, true, false, kOld},
      {"half written, journal in the state directory", mixed, true, true, kOld},
      {"the save completed", kNew, true, false, kNew},
      {"the save had not begun", kOld, true, false, kOld},
      {"changed by somebody since", LevelText("theirs.mod", '3'), true, false,
       LevelText("theirs.mod", '3')},
      {"a journal cut short", kOld, false, false, kOld},
  };
  for (const Found& c : cases) {
    ScratchDir dir;
    const std::string state = dir.File("state");
    ::setenv("XDG_STATE_HOME", state.c_str(), 1);
    const std::string path = dir.File("level.dat");
    WriteBytes(path, c.onDisk);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat status {};
    ASSERT_EQ(::fstat(fd, &status), 0);
    const SaveJournal journal{FileIdentity::Of(status), BirthOf(fd), kOld, kNew};
    ::close(fd);
    std::string bytes = EncodeJournal(journal);
    if (!c.completeJournal) bytes.resize(bytes.size() / 2);
    const std::string identity =
        std::to_string(status.st_dev) + "-" + std::to_string(status.st_ino) + ".journal";
    std::string journalPath = dir.File(".tollwen-save-" + identity);
    if (c.inStateDirectory) {
      fs::create_directories(state + "/tollwen-level-editor");
      journalPath = state + "/tollwen-level-editor/" + identity;
    }
    WriteBytes(journalPath, bytes);

    LevelGrid grid;
    const std::string music = ReadDataFile(path, grid);
    EXPECT_EQ(LevelText(music, grid.CellAt(1, 1)), c.read) << c.what;
    EXPECT_EQ(ReadBytes(path), c.read) << c.what;
    EXPECT_FALSE(fs::exists(journalPath)) << c.what;
    ::unsetenv("XDG_STATE_HOME");
  }
}

}  // namespace
}  // namespace tollwen
