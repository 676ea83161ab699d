#include "level/recovery_store.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "level/errors.h"
#include "level/state_folder.h"
#include "scratch_dir.h"
#include "support/case_name.h"
#include "support/child_process.h"

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
  return level;
}

// A level whose texts and cells hold bytes that a line-based or UTF-8 format would lose.
RecoveredLevel OddLevel(std::string picturePath) {
  RecoveredLevel level = PlainLevel(std::move(picturePath), -1765300000);
  level.dataPath = "";
  level.musicName = std::string("a\r\nb:\0c 12:\xff", 12);
  for (int row = 1; row <= LevelGrid::kRows; ++row) {
    for (int column = 1; column <= LevelGrid::kColumns; ++column) {
      level.grid.SetCell(column, row, static_cast<char>((row * LevelGrid::kColumns + column) * 7));
    }
  }
  return level;
}

class RecoveryStoreTest : public ::testing::Test {
 protected:
  // The folder and its parent do not exist until the first Save.
  std::string Folder() const { return scratch_.path() + "/state/tollwen-level-editor/"; }
  RecoveryStore Store() const { return RecoveryStore(Folder()); }

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
    Store().Save(odd);
    ::umask(oldMask);
    EXPECT_EQ(Store().Find(odd.picturePath), odd);
    EXPECT_EQ(Store().Newest(), odd);
    EXPECT_EQ(PermissionBits(scratch_.path() + "/state"), 0700u);
    EXPECT_EQ(PermissionBits(Folder()), 0700u);
    ASSERT_EQ(Files().size(), 1u);
    EXPECT_EQ(PermissionBits(Files().front()), 0600u);
    // A folder that is there already is made private too.
    ::chmod(Folder().c_str(), 0755);
  }
}

TEST_F(RecoveryStoreTest, KeepsOneRecordPerPictureAndOneWithoutPicture) {
  const RecoveryStore store = Store();
  EXPECT_EQ(store.Newest(), std::nullopt);
  store.Save(PlainLevel("/levels/cave.jpg", 100));
  store.Save(PlainLevel("/levels/lake.jpg", 300));
  store.Save(PlainLevel("", 200));
  // A later save of the same picture replaces its record and leaves no temporary file.
  RecoveredLevel cave = PlainLevel("/levels/cave.jpg", 150);
  cave.grid.SetCell(19, 13, 'F');
  store.Save(cave);
  EXPECT_EQ(Files().size(), 3u);

  EXPECT_EQ(store.Find("/levels/cave.jpg"), cave);
  EXPECT_EQ(store.Find(""), PlainLevel("", 200));
  EXPECT_EQ(store.Find("/levels/cave.JPG"), std::nullopt);
  EXPECT_EQ(store.Newest(), PlainLevel("/levels/lake.jpg", 300));
  store.Remove("/levels/lake.jpg");
  store.Remove("/levels/lake.jpg");  // nothing left to remove is no error
  EXPECT_EQ(store.Find("/levels/lake.jpg"), std::nullopt);
  EXPECT_EQ(store.Newest(), PlainLevel("", 200));
}

TEST_F(RecoveryStoreTest, NoFolderHoldsNothingAndAFailedSaveKeepsThePreviousRecord) {
  EXPECT_EQ(Store().Find("/levels/cave.jpg"), std::nullopt);
  Store().Remove("/levels/cave.jpg");
  EXPECT_THROW(RecoveryStore("").Save(PlainLevel("", 5)), InOutError);
  WriteBytes(scratch_.File("file"), "a file where a folder should be");
  EXPECT_THROW(RecoveryStore(scratch_.File("file/x/")).Save(PlainLevel("", 5)), InOutError);

  const RecoveredLevel previous = PlainLevel("/levels/cave.jpg", 100);
  Store().Save(previous);
  // The new record cannot be written whole: the file size limit stops it part of the way.
  const std::string result = test::RunInChild([&] {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{100, 100};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    Store().Save(OddLevel("/levels/cave.jpg"));
    return std::string("saved");
  });
  EXPECT_EQ(result, "threw: Disk full");
  EXPECT_EQ(Store().Find("/levels/cave.jpg"), previous);
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
      {"a later format", "recovery 1", "recovery 2"},
      {"a flipped byte", "theme", "thame"},
      {"a wrong checksum", "sha256 ", "sha256 0"},
      {"a length past the end", "music 8:", "music 900:"},
      {"a negative length", "music 8:", "music -8:"},
      {"a time that is no number", "saved-at 100", "saved-at 1e2"},
      {"a short grid row", "0000000000000000000\n", "000000000000000000\n"},
      {"CR LF lines", "grid\n", "grid\r\n"},
  };
  Store().Save(PlainLevel(cave, 100));
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
    EXPECT_EQ(Store().Find(cave), std::nullopt);
    EXPECT_EQ(Store().Newest(), std::nullopt);
    EXPECT_EQ(ReadBytes(record), damaged);
  }
  // Saving and removing another key's record leaves it alone too.
  Store().Save(PlainLevel("/levels/lake.jpg", 50));
  Store().Remove("/levels/lake.jpg");
  EXPECT_EQ(ReadBytes(record), damages.back().to);
  Store().Remove(cave);
  EXPECT_TRUE(Files().empty());
}

// A good record is not offered under another picture's name, nor through a link, and what is
// not a regular file is skipped without blocking (a FIFO would wait for a writer).
TEST_F(RecoveryStoreTest, OnlyARecordFileOfItsOwnKeyIsOffered) {
  Store().Save(PlainLevel("/levels/lake.jpg", 100));
  const std::string lake = Files().front();
  const std::string good = scratch_.File("good");
  std::filesystem::rename(lake, good);
  const std::vector<std::function<void()>> makers = {
      [&] {
        Store().Save(PlainLevel("/levels/cave.jpg", 100));
        std::filesystem::rename(Files().front(), lake);
      },
      [&] { std::filesystem::create_symlink(good, lake); },
      [&] { ASSERT_EQ(::mkfifo(lake.c_str(), 0600), 0); },
      [&] { std::filesystem::create_directory(lake); },
  };
  for (const auto& make : makers) {
    make();
    const std::string result = test::RunInChild(
        [&] {
          return Store().Find("/levels/lake.jpg") || Store().Newest() ? "offered" : "skipped";
        },
        10);
    EXPECT_EQ(result, "skipped");
    std::filesystem::remove(lake);
  }
}

}  // namespace
}  // namespace tollwen
