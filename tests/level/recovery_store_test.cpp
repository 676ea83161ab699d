#include "storage/recovery_store.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "level/errors.h"
#include "scratch_dir.h"
#include "storage/state_folder.h"
#include "support/case_name.h"
#include "support/child_process.h"
#include "support/earlier_recovery_record.h"

namespace tollwen {
namespace {

using testing::PermissionBits;
using testing::ReadBytes;
using testing::ScratchDir;
using testing::WriteBytes;

struct FolderCase {
  const char* name;
  const char* stateHome;  // XDG_STATE_HOME; nullptr: unset
  const char* home;
  std::string folder;
};

class RecoveryFolderTest : public ::testing::TestWithParam<FolderCase> {};

TEST_P(RecoveryFolderTest, FollowsXdgStateHomeWithItsDefault) {
  EXPECT_EQ(StateFolderFor(GetParam().stateHome, GetParam().home), GetParam().folder);
}

INSTANTIATE_TEST_SUITE_P(
    Environments, RecoveryFolderTest,
    ::testing::Values(
        FolderCase{"Unset", nullptr, "/home/ann", "/home/ann/.local/state/tollwen-level-editor/"},
        FolderCase{"Empty", "", "/home/ann", "/home/ann/.local/state/tollwen-level-editor/"},
        FolderCase{"Relative", "state", "/home/ann/",
                   "/home/ann/.local/state/tollwen-level-editor/"},
        FolderCase{"Absolute", "/var/state", "/home/ann", "/var/state/tollwen-level-editor/"},
        FolderCase{"NoHome", "/var/state/", nullptr, "/var/state/tollwen-level-editor/"},
        FolderCase{"RelativeHome", "state", "home", ""},
        FolderCase{"NeitherSet", nullptr, nullptr, ""}),
    test::CaseName());

RecoveredLevel PlainLevel(std::string picturePath, std::int64_t savedAt) {
  RecoveredLevel level;
  level.picturePath = std::move(picturePath);
  level.dataPath = "/levels/cave.dat";
  level.musicName = "theme.xm";
  level.grid.SetCell(3, 4, 'B');
  level.savedAt = savedAt;
  level.dataStamp = {true, {7, 8}, 300, 1765300000, 5, 99, false, {}, {}};
  return level;
}

// A level whose texts and cells hold bytes that a UTF-8 format would lose (any byte a data
// file can hold), based on a data file reached through a link.
RecoveredLevel OddLevel(std::string picturePath) {
  RecoveredLevel level = PlainLevel(std::move(picturePath), -1765300000);
  level.dataPath = "";
  level.musicName = std::string("a b:\0c 12:\xff", 11);
  for (int row = 1; row <= LevelGrid::kRows; ++row) {
    for (int column = 1; column <= LevelGrid::kColumns; ++column) {
      const auto code = static_cast<char>((row * LevelGrid::kColumns + column) * 7);
      level.grid.SetCell(column, row, code == '\r' || code == '\n' ? '\x7f' : code);
    }
  }
  level.dataStamp = {true, {UINT64_MAX, 1}, 0, -5, 999999999, UINT64_MAX, true, {3, 4}, "a\nb"};
  return level;
}

const std::string kWriter = "0123456789abcdef";
std::string NameOf(const RecoveredLevel& level) {
  return RecoveryStore::RecordName(level.picturePath, kWriter);
}

class RecoveryStoreTest : public ::testing::Test {
 protected:
  // The folder and its parent do not exist until the first Save.
  std::string Folder() const { return scratch_.path() + "/state/tollwen-level-editor/"; }
  RecoveryStore Store() const { return RecoveryStore(Folder()); }
  // Writes `level` as a record that no running editor holds.
  void Save(const RecoveredLevel& level, const std::string& writer = kWriter) const {
    Store().Save(level, RecoveryStore::RecordName(level.picturePath, writer));
  }
  std::optional<RecoveredLevel> Find(const std::string& picturePath) const {
    const std::vector<StoredRecord> records = Store().LeftFor(picturePath);
    if (records.empty()) return std::nullopt;
    return records.front().level;
  }
  std::optional<RecoveredLevel> Newest() const {
    std::optional<StoredRecord> newest = Store().Newest();
    if (!newest) return std::nullopt;
    return newest->level;
  }

  // The paths of the files in the store's folder, sorted.
  std::vector<std::string> Files() const {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(Folder()))
      files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
  }

  ScratchDir scratch_;
};

TEST_F(RecoveryStoreTest, RoundTripsAnyBytesPrivatelyWhateverTheUmask) {
  const RecoveredLevel odd = OddLevel("/levels/\xff\xfe\n c:\x01ve 7:.jpg");
  for (const mode_t mask : {0000, 0277}) {
    const mode_t oldMask = ::umask(mask);
    Save(odd);
    ::umask(oldMask);
    EXPECT_EQ(Find(odd.picturePath), odd);
    EXPECT_EQ(Newest(), odd);
    EXPECT_EQ(PermissionBits(scratch_.path() + "/state"), 0700u);
    EXPECT_EQ(PermissionBits(Folder()), 0700u);
    ASSERT_EQ(Files().size(), 1u);
    EXPECT_EQ(PermissionBits(Files().front()), 0600u);
    // A folder that is there already is made private too.
    ::chmod(Folder().c_str(), 0755);
  }
}

TEST_F(RecoveryStoreTest, KeepsEachWritersRecordPerPictureNewestFirst) {
  const RecoveryStore store = Store();
  EXPECT_EQ(Newest(), std::nullopt);
  const auto later = [] { ::usleep(20'000); };  // apart in the files' times
  Save(PlainLevel("/levels/cave.jpg", 100));
  later();
  Save(PlainLevel("", 200));
  later();
  Save(PlainLevel("/levels/lake.jpg", 300));
  later();
  // Another session's record of the same picture is a record of its own.
  RecoveredLevel cave = PlainLevel("/levels/cave.jpg", 350);
  cave.grid.SetCell(19, 13, 'F');
  Save(cave, "fedcba9876543210");
  later();
  // A later save of one writer's record replaces it and leaves no temporary file.
  RecoveredLevel lake = PlainLevel("/levels/lake.jpg", 400);
  Save(lake);
  EXPECT_EQ(Files().size(), 4u);

  const std::vector<StoredRecord> caves = store.LeftFor("/levels/cave.jpg");
  ASSERT_EQ(caves.size(), 2u);
  EXPECT_EQ(caves[0].level, cave);
  EXPECT_EQ(caves[1].level, PlainLevel("/levels/cave.jpg", 100));
  EXPECT_EQ(Find(""), PlainLevel("", 200));
  EXPECT_EQ(Find("/levels/cave.JPG"), std::nullopt);
  EXPECT_EQ(Newest(), lake);
  store.Remove(NameOf(lake));
  store.Remove(NameOf(lake));  // nothing left to remove is no error
  EXPECT_EQ(Find("/levels/lake.jpg"), std::nullopt);
  EXPECT_EQ(Newest(), cave);
}

// A record an editor holds belongs to it while it runs: no other editor is offered it or may
// delete it. Once it is released (the editor crashed), it is offered again.
TEST_F(RecoveryStoreTest, HeldRecordIsNeitherOfferedNorDeletedUntilReleased) {
  const RecoveredLevel cave = PlainLevel("/levels/cave.jpg", 100);
  std::optional<HeldRecord> held = Store().Save(cave, NameOf(cave));
  EXPECT_TRUE(Store().LeftFor(cave.picturePath).empty());
  EXPECT_EQ(Newest(), std::nullopt);
  EXPECT_EQ(Store().Hold(NameOf(cave)), std::nullopt);
  Store().Remove(NameOf(cave));
  ASSERT_EQ(Store().LeftFor(cave.picturePath, RecoveryStore::Held::kIncluded).size(), 1u);
  held.reset();
  EXPECT_EQ(Find(cave.picturePath), cave);
  held = Store().Hold(NameOf(cave));
  ASSERT_TRUE(held);
  EXPECT_EQ(Newest(), std::nullopt);
  Store().Remove(std::move(*held));
  EXPECT_TRUE(Files().empty());
}

// Start-up looks at a folder of a thousand files no record can be by their size alone.
TEST_F(RecoveryStoreTest, NewestSkipsFilesLargerThanARecordUnread) {
  Save(PlainLevel("/levels/cave.jpg", 100));
  for (int number = 0; number < 1000; ++number) {
    const std::string junk = Folder() + "level-" + std::string(32, 'a') + "-" +
                             std::string(12, 'b') + std::to_string(1000 + number) + ".recovery";
    WriteBytes(junk, "x");
    std::filesystem::resize_file(junk, 512 * 1024);
  }
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Newest(), PlainLevel("/levels/cave.jpg", 100));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
}

// A state folder that is a link (another user's, planted in a shared state home) or not the
// user's own is neither written through nor read.
TEST_F(RecoveryStoreTest, StateFolderThatIsALinkOrNotOursIsRefused) {
  const std::string planted = scratch_.File("planted");
  std::filesystem::create_directories(planted);
  std::filesystem::create_directories(scratch_.File("state"));
  for (const bool link : {true, false}) {
    if (link) {
      std::filesystem::create_directory_symlink(planted, Folder().substr(0, Folder().size() - 1));
    } else {
      std::filesystem::create_directories(Folder());
      ASSERT_EQ(::chown(Folder().c_str(), 65534, 65534), 0);
    }
    EXPECT_THROW(Save(PlainLevel("/levels/cave.jpg", 100)), InOutError) << link;
    EXPECT_EQ(Find("/levels/cave.jpg"), std::nullopt) << link;
    std::filesystem::remove_all(Folder().substr(0, Folder().size() - 1));
  }
  EXPECT_TRUE(std::filesystem::is_empty(planted));
}

TEST_F(RecoveryStoreTest, NoFolderHoldsNothingAndAFailedSaveKeepsThePreviousRecord) {
  EXPECT_EQ(Find("/levels/cave.jpg"), std::nullopt);
  Store().Remove(NameOf(PlainLevel("/levels/cave.jpg", 0)));
  EXPECT_THROW(RecoveryStore("").Save(PlainLevel("", 5), NameOf(PlainLevel("", 5))), InOutError);
  WriteBytes(scratch_.File("file"), "a file where a folder should be");
  EXPECT_THROW(
      RecoveryStore(scratch_.File("file/x/")).Save(PlainLevel("", 5), NameOf(PlainLevel("", 5))),
      InOutError);

  const RecoveredLevel previous = PlainLevel("/levels/cave.jpg", 100);
  Save(previous);
  // The new record cannot be written whole: the file size limit stops it part of the way.
  const std::string result = test::RunInChild([&] {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{100, 100};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    Save(OddLevel("/levels/cave.jpg"));
    return std::string("saved");
  });
  EXPECT_EQ(result, "threw: Disk full");
  EXPECT_EQ(Find("/levels/cave.jpg"), previous);
  EXPECT_EQ(Files().size(), 1u);
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const auto at = text.find(from);
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

struct Damage {
  std::string name;
  std::string from;  // the first occurrence of this is replaced; "" stands for the whole file
  std::string to;
};

// Every way a record file can be damaged or not be ours: none is offered as a recovery, and none
// is deleted or changed by anything but an explicit Remove of its own key.
TEST_F(RecoveryStoreTest, DamagedRecordsAreNeverOfferedNorDeleted) {
  const std::string cave = "/levels/cave.jpg";
  std::vector<Damage> damages = {
      {"empty", "", ""},
      {"another program's file", "", "[Recent]\n"},
      {"a later format", "recovery 2", "recovery 3"},
      {"a flipped byte", "theme", "thame"},
      {"a wrong checksum", "sha256 ", "sha256 0"},
      {"a length past the end", "picture 16:", "picture 900:"},
      {"a negative length", "picture 16:", "picture -16:"},
      {"a time that is no number", "saved-at 100", "saved-at 1e2"},
      {"a stamp that is no stamp", "data-file 1 ", "data-file 3 "},
      {"a short grid row", "0000000000000000000\r\n", "000000000000000000\r\n"},
      {"LF lines", "saved-at 100\n", "saved-at 100\r\n"},
  };
  Save(PlainLevel(cave, 100));
  const std::string record = Files().front();
  const std::string whole = ReadBytes(record);
  damages.push_back({"a byte after the end", "", whole + "\n"});
  damages.push_back({"larger than a record can be", "", whole + std::string(1 << 20, '\n')});
  for (std::size_t length = 1; length < whole.size(); ++length) {
    damages.push_back({"cut at " + std::to_string(length), "", whole.substr(0, length)});
  }
  for (const Damage& damage : damages) {
    SCOPED_TRACE(damage.name);
    const std::string damaged =
        damage.from.empty() ? damage.to : Replaced(whole, damage.from, damage.to);
    ASSERT_NE(damaged, whole);
    WriteBytes(record, damaged);
    EXPECT_EQ(Find(cave), std::nullopt);
    EXPECT_EQ(Newest(), std::nullopt);
    EXPECT_EQ(ReadBytes(record), damaged);
  }
  // Saving and removing another record leaves it alone too.
  Save(PlainLevel("/levels/lake.jpg", 50));
  Store().Remove(NameOf(PlainLevel("/levels/lake.jpg", 50)));
  EXPECT_EQ(ReadBytes(record), damages.back().to);
  Store().Remove(NameOf(PlainLevel(cave, 100)));
  EXPECT_TRUE(Files().empty());
}

// The earlier version's records are offered with their data file unknown, and removed as any
// other; they are read as strictly as this version's, their cells as a data file's.
TEST_F(RecoveryStoreTest, RecordsOfTheEarlierVersionAreOfferedWithTheirDataFileUnknown) {
  std::filesystem::create_directories(Folder());
  // The picture, cell (3, 4), the music name once written (a damage unless "theme"), offered.
  for (const auto& [picture, cell, music, offered] :
       {std::tuple{"/levels/cave.jpg", 'B', "theme", true},
        {"", '\xff', "theme", true},
        {"/levels/cave.jpg", '\n', "theme", false},
        {"/levels/cave.jpg", 'B', "thame", false}}) {
    RecoveredLevel level = PlainLevel(picture, 100);
    level.grid.SetCell(3, 4, cell);
    level.dataStamp = DataFileStamp::Unknown();
    const std::string name = test::EarlierRecordName(level.picturePath);
    WriteBytes(Folder() + name, Replaced(test::EarlierRecordText(level), "theme", music));
    EXPECT_EQ(Find(level.picturePath), offered ? std::optional(level) : std::nullopt) << name;
    EXPECT_EQ(Newest(), offered ? std::optional(level) : std::nullopt);
    Store().Remove(name);
    EXPECT_TRUE(Files().empty());
  }
}

// A good record is not offered under another picture's name, nor through a link, and what is
// not a regular file is skipped without blocking (a FIFO would wait for a writer).
TEST_F(RecoveryStoreTest, OnlyARecordFileOfItsOwnKeyIsOffered) {
  Save(PlainLevel("/levels/lake.jpg", 100));
  const std::string lake = Files().front();
  const std::string good = scratch_.File("good");
  std::filesystem::rename(lake, good);
  const std::vector<std::function<void()>> makers = {
      [&] {
        Save(PlainLevel("/levels/cave.jpg", 100));
        std::filesystem::rename(Files().front(), lake);
      },
      [&] { std::filesystem::create_symlink(good, lake); },
      [&] { ASSERT_EQ(::mkfifo(lake.c_str(), 0600), 0); },
      [&] { std::filesystem::create_directory(lake); },
  };
  for (const auto& make : makers) {
    make();
    const std::string result = test::RunInChild(
        [&] { return Find("/levels/lake.jpg") || Newest() ? "offered" : "skipped"; }, 10);
    EXPECT_EQ(result, "skipped");
    std::filesystem::remove(lake);
  }
}

}  // namespace
}  // namespace tollwen
