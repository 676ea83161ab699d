// The journal of a save that writes a data file in place: when a file counts as half written,
// and what the editor's next read does with a journal it finds.
#include "storage/save_journal.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
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
  // A file born after the journal was written has only taken over its inode number; so has one
  // whose birth the journal does not know.
  const SaveJournal born{{}, {100, 1}, "old content, longer", "NEW content"};
  EXPECT_TRUE(IsHalfWritten(born, {100, 1}, "NEW content, longer"));
  EXPECT_FALSE(IsHalfWritten(born, {200, 1}, "NEW content, longer"));
  EXPECT_FALSE(IsHalfWritten(journal, {100, 1}, "NEW content, longer"));
}

const std::string kOld = LevelText("the-old-and-longer-tune.mod", '1');
const std::string kNew = LevelText("new.mod", '2');
const std::string kMixed = kNew + kOld.substr(kNew.size());

// Where a journal of the data file is found, and who could have put it there.
enum class Place {
  kStateFolder,       // the user's own, in the private state folder: trusted
  kBesideTheFile,     // anyone who may write the level folder could have planted it
  kOtherUsersFile,    // in the state folder, but owned by another user
  kLinkInTheFolder,   // in the state folder, a symbolic link to a journal elsewhere
  kLinkedStateFolder  // the state folder is a symbolic link to a folder holding it
};

struct Found {
  const char* what;
  std::string onDisk;  // the data file's content when the journal is found
  Place place;
  std::string journal;  // "" for the journal of a save from kOld to kNew; else these bytes
  std::string read;     // what the editor reads (and the file then holds)
  bool journalStays;
};

// The editor's next read after a save stopped: a half-written file gets its old content back
// from the user's own journal, anything else is left as it is; the user's own journal goes, a
// journal anyone else could have written is neither trusted nor touched.
TEST(SaveJournalTest, OnlyTheUsersOwnJournalPutsTheOldContentBack) {
  const std::string damaged = "tollwen-level-editor save journal 1\n1 2 0 0 -1 " +
                              std::to_string(kNew.size() + 1) + " 0\n" + kNew;
  const Found cases[] = {
      {"half written", kMixed, Place::kStateFolder, "", kOld, false},
      {"the save completed", kNew, Place::kStateFolder, "", kNew, false},
      {"the save had not begun", kOld, Place::kStateFolder, "", kOld, false},
      {"changed by somebody since", LevelText("theirs.mod", '3'), Place::kStateFolder, "",
       LevelText("theirs.mod", '3'), false},
      {"a journal cut short", kOld, Place::kStateFolder, "cut", kOld, false},
      {"a journal whose sizes wrap around", kMixed, Place::kStateFolder, damaged, kMixed, false},
      {"planted beside the file", kMixed, Place::kBesideTheFile, "", kMixed, true},
      {"another user's journal", kMixed, Place::kOtherUsersFile, "", kMixed, true},
      {"a link in the state folder", kMixed, Place::kLinkInTheFolder, "", kMixed, true},
      {"a linked state folder", kMixed, Place::kLinkedStateFolder, "", kMixed, true},
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
    std::string bytes = EncodeJournal({FileIdentity::Of(status), BirthOf(fd), kOld, kNew});
    ::close(fd);
    if (c.journal == "cut") bytes.resize(bytes.size() / 2);
    if (!c.journal.empty() && c.journal != "cut") bytes = c.journal;
    const std::string name =
        std::to_string(status.st_dev) + "-" + std::to_string(status.st_ino) + ".journal";
    const std::string folder = state + "/tollwen-level-editor";
    std::string journalPath = folder + "/" + name;
    if (c.place == Place::kLinkedStateFolder) {
      fs::create_directories(state);
      fs::create_directory(dir.File("elsewhere"));
      fs::create_directory_symlink(dir.File("elsewhere"), folder);
    } else {
      fs::create_directories(folder);
    }
    if (c.place == Place::kBesideTheFile) journalPath = dir.File(".tollwen-save-" + name);
    if (c.place == Place::kLinkInTheFolder) {
      WriteBytes(dir.File("planted"), bytes);
      fs::create_symlink(dir.File("planted"), journalPath);
    } else {
      WriteBytes(journalPath, bytes);
    }
    if (c.place == Place::kOtherUsersFile) {
      ASSERT_EQ(::chown(journalPath.c_str(), 65534, 65534), 0);
    }

    LevelGrid grid;
    std::string music;
    ASSERT_NO_THROW(music = ReadDataFile(path, grid)) << c.what;
    EXPECT_EQ(ReadBytes(path), c.read) << c.what;
    if (c.read != kMixed) {
      EXPECT_EQ(LevelText(music, grid.CellAt(1, 1)), c.read) << c.what;
    }
    EXPECT_EQ(fs::exists(fs::symlink_status(journalPath)), c.journalStays) << c.what;
    ::unsetenv("XDG_STATE_HOME");
  }
}

// A journal is taken only as the editor writes it: every number in plain digits, sizes within
// the largest data file, and nothing that wraps around.
TEST(SaveJournalTest, DecodesOnlyAWholeJournalWithPlainNumbers) {
  const SaveJournal journal{{8, 9}, {100, 5}, "old", "new!"};
  const std::string valid = EncodeJournal(journal);
  const std::string body = valid.substr(valid.find('\n', valid.find('\n') + 1) + 1);
  const std::string hash = std::to_string(ContentHash("oldnew!"));
  const std::string huge = std::to_string(MaxJournalledBytes() + 1);
  const auto withHeader = [&](const std::string& numbers) {
    return "tollwen-level-editor save journal 1\n" + numbers + "\n" + body;
  };
  struct Case {
    const char* what;
    std::string bytes;
    bool decodes;
  };
  const Case cases[] = {
      {"as written", valid, true},
      {"as written, spelled out", withHeader("8 9 100 5 3 4 " + hash), true},
      {"a size of -1", withHeader("8 9 100 5 -1 8 " + hash), false},
      {"sizes that wrap around", withHeader("8 9 100 5 18446744073709551615 8 " + hash), false},
      {"a size past the largest data file", withHeader("8 9 100 5 " + huge + " 4 " + hash), false},
      {"a plus sign", withHeader("8 9 100 5 +3 4 " + hash), false},
      {"a leading zero", withHeader("8 9 100 5 03 4 " + hash), false},
      {"two spaces", withHeader("8 9 100 5  3 4 " + hash), false},
      {"a number missing", withHeader("8 9 100 3 4 " + hash), false},
      {"a number too large for its type", withHeader("8 99999999999999999999 100 5 3 4 " + hash),
       false},
      {"a hash that does not match", withHeader("8 9 100 5 3 4 1"), false},
  };
  for (const Case& c : cases) {
    const std::optional<SaveJournal> decoded = DecodeJournal(c.bytes);
    EXPECT_EQ(decoded.has_value(), c.decodes) << c.what;
    if (decoded) {
      EXPECT_EQ(decoded->oldContent + decoded->newContent, "oldnew!") << c.what;
    }
  }
}

// A program that holds a lock on the data file (any reader may take one) holds up neither the
// editor's read and save nor the level tool's read.
TEST(SaveJournalTest, NoReaderOfTheDataFileCanHoldUpAReadOrASave) {
  ScratchDir dir;
  const std::string state = dir.File("state");
  ::setenv("XDG_STATE_HOME", state.c_str(), 1);
  const std::string path = dir.File("level.dat");
  WriteBytes(path, kOld);
  const int reader = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_EQ(::flock(reader, LOCK_EX), 0);
  const std::pair<const char*, std::function<void()>> operations[] = {
      {"read",
       [&] {
         LevelGrid grid;
         ReadDataFile(path, grid);
       }},
      {"save", [&] { WriteDataFile(path, "new.mod", testing::FilledGrid('2')); }},
      {"save in place",
       [&] {
         fs::create_symlink(path, dir.File("link.dat"));
         WriteDataFile(dir.File("link.dat"), "new.mod", testing::FilledGrid('2'));
       }},
      {"scan", [&] { ScanDataFile(path); }},
  };
  for (const auto& [what, operation] : operations) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_NO_THROW(operation()) << what;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << what;
  }
  ::close(reader);
  ::unsetenv("XDG_STATE_HOME");
}

// The level tool reads a damaged journal of the user's as a warning and checks the file as it is.
TEST(SaveJournalTest, DamagedJournalIsAWarningForTheLevelTool) {
  ScratchDir dir;
  ::setenv("XDG_STATE_HOME", dir.File("state").c_str(), 1);
  const std::string path = dir.File("level.dat");
  WriteBytes(path, kOld);
  struct stat status {};
  ASSERT_EQ(::stat(path.c_str(), &status), 0);
  fs::create_directories(dir.File("state/tollwen-level-editor"));
  WriteBytes(dir.File("state/tollwen-level-editor/" + std::to_string(status.st_dev) + "-" +
                      std::to_string(status.st_ino) + ".journal"),
             "tollwen-level-editor save journal 1\n1 2 0 0 -1 1 0\nx");
  const DataFileScan scan = ScanDataFile(path);
  ASSERT_EQ(scan.problems.size(), 1u);
  EXPECT_EQ(scan.problems[0].message,
            "the journal of a save that wrote this file in place is damaged; the editor ignores "
            "it and reads the file as it is");
  EXPECT_EQ(scan.musicName, "the-old-and-longer-tune.mod");
  ::unsetenv("XDG_STATE_HOME");
}

}  // namespace
}  // namespace tollwen
