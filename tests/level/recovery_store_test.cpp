#include "level/recovery_store.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "level/errors.h"
#include "scratch_dir.h"
#include "support/child_process.h"

namespace tollwen {
namespace {

using testing::PermissionBits;
using testing::ReadBytes;
using testing::ScratchDir;
using testing::WriteBytes;

// Sets an environment variable (or unsets it, for nullptr) for one scope.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    Set(value);
  }
  ~ScopedEnvironment() { Set(old_ ? old_->c_str() : nullptr); }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  void Set(const char* value) {
    if (value == nullptr) {
      ::unsetenv(name_.c_str());
    } else {
      ::setenv(name_.c_str(), value, 1);
    }
  }
  std::string name_;
  std::optional<std::string> old_;
};

struct FolderCase {
  const char* stateHome;  // nullptr: unset
  const char* home;
  std::string folder;
};

class RecoveryFolderTest : public ::testing::TestWithParam<FolderCase> {};

TEST_P(RecoveryFolderTest, FollowsXdgStateHomeWithItsDefault) {
  const ScopedEnvironment state("XDG_STATE_HOME", GetParam().stateHome);
  const ScopedEnvironment home("HOME", GetParam().home);
  EXPECT_EQ(RecoveryStore::DefaultFolder(), GetParam().folder);
}

INSTANTIATE_TEST_SUITE_P(
    Environments, RecoveryFolderTest,
    ::testing::Values(
        FolderCase{nullptr, "/home/ann", "/home/ann/.local/state/tollwen-level-editor/"},
        FolderCase{"", "/home/ann", "/home/ann/.local/state/tollwen-level-editor/"},
        FolderCase{"state", "/home/ann/", "/home/ann/.local/state/tollwen-level-editor/"},
        FolderCase{"/var/state", "/home/ann", "/var/state/tollwen-level-editor/"},
        FolderCase{"/var/state/", "relative", "/var/state/tollwen-level-editor/"}));

TEST(RecoveryFolderTest, IsEmptyWithoutAnyAbsoluteHome) {
  EXPECT_EQ(RecoveryStore::FolderFor(nullptr, nullptr), "");
  EXPECT_EQ(RecoveryStore::FolderFor("state", "home"), "");
  EXPECT_EQ(RecoveryStore::FolderFor(nullptr, "/h"), "/h/.local/state/tollwen-level-editor/");
}

// A level whose every text and cell holds bytes that a line-based or UTF-8 format would lose.
RecoveredLevel OddLevel(std::string picturePath) {
  RecoveredLevel level;
  level.picturePath = std::move(picturePath);
  level.dataPath = "";
  level.musicName = std::string("a\r\nb:\0c 12:\xff", 12);
  for (int row = 1; row <= LevelGrid::kRows; ++row) {
    for (int column = 1; column <= LevelGrid::kColumns; ++column) {
      level.grid.SetCell(column, row, static_cast<char>((row * LevelGrid::kColumns + column) * 7));
    }
  }
  level.savedAt = 1765300000;
  return level;
}

RecoveredLevel PlainLevel(std::string picturePath, std::int64_t savedAt) {
  RecoveredLevel level;
  level.picturePath = std::move(picturePath);
  level.dataPath = "/levels/cave.dat";
  level.musicName = "theme.xm";
  level.grid.SetCell(3, 4, 'B');
  level.savedAt = savedAt;
  return level;
}

class RecoveryStoreTest : public ::testing::Test {
 protected:
  // The store's folder does not exist yet: Save makes it and its parent.
  std::string Folder() const { return scratch_.path() + "/state/tollwen-level-editor/"; }
  RecoveryStore Store() const { return RecoveryStore(Folder()); }

  // The names in the store's folder, sorted.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(Folder()))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  // The one record file there is, after a single Save.
  std::string OnlyRecord() const {
    const std::vector<std::string> names = Names();
    EXPECT_EQ(names.size(), 1u);
    return names.empty() ? std::string() : Folder() + names.front();
  }

  ScratchDir scratch_;
};

TEST_F(RecoveryStoreTest, RoundTripsAnyBytesPrivately) {
  const RecoveredLevel odd = OddLevel("/levels/\xff\xfe\n c:\x01ve 7:.jpg");
  const mode_t oldMask = ::umask(0);  // the modes must not depend on the umask
  Store().Save(odd);
  ::umask(oldMask);

  EXPECT_EQ(Store().Find(odd.picturePath), odd);
  EXPECT_EQ(Store().Newest(), odd);
  EXPECT_EQ(PermissionBits(scratch_.path() + "/state"), 0700u);
  EXPECT_EQ(PermissionBits(Folder()), 0700u);
  EXPECT_EQ(PermissionBits(OnlyRecord()), 0600u);
}

TEST_F(RecoveryStoreTest, ModesStayPrivateUnderARestrictiveUmask) {
  const mode_t oldMask = ::umask(0277);
  Store().Save(PlainLevel("/levels/cave.jpg", 5));
  ::umask(oldMask);
  EXPECT_EQ(PermissionBits(Folder()), 0700u);
  EXPECT_EQ(PermissionBits(OnlyRecord()), 0600u);
}

TEST_F(RecoveryStoreTest, AnExistingFolderIsMadePrivate) {
  std::filesystem::create_directories(Folder());
  ::chmod(Folder().c_str(), 0755);
  Store().Save(PlainLevel("/levels/cave.jpg", 5));
  EXPECT_EQ(PermissionBits(Folder()), 0700u);
}

TEST_F(RecoveryStoreTest, KeepsOneRecordPerPictureAndOneWithoutPicture) {
  const RecoveryStore store = Store();
  EXPECT_EQ(store.Find("/levels/cave.jpg"), std::nullopt);
  EXPECT_EQ(store.Newest(), std::nullopt);

  store.Save(PlainLevel("/levels/cave.jpg", 100));
  store.Save(PlainLevel("/levels/lake.jpg", 300));
  store.Save(PlainLevel("", 200));
  // A later save of the same picture replaces its record, leaving no temporary file.
  RecoveredLevel cave = PlainLevel("/levels/cave.jpg", 150);
  cave.grid.SetCell(19, 13, 'F');
  store.Save(cave);
  EXPECT_EQ(Names().size(), 3u);

  EXPECT_EQ(store.Find("/levels/cave.jpg"), cave);
  EXPECT_EQ(store.Find("/levels/lake.jpg"), PlainLevel("/levels/lake.jpg", 300));
  EXPECT_EQ(store.Find(""), PlainLevel("", 200));
  EXPECT_EQ(store.Find("/levels/cave.JPG"), std::nullopt);
  EXPECT_EQ(store.Newest(), PlainLevel("/levels/lake.jpg", 300));

  store.Remove("/levels/lake.jpg");
  store.Remove("/levels/lake.jpg");  // nothing left to remove is no error
  EXPECT_EQ(store.Find("/levels/lake.jpg"), std::nullopt);
  EXPECT_EQ(store.Newest(), PlainLevel("", 200));
  store.Remove("");
  EXPECT_EQ(store.Newest(), cave);
}

TEST_F(RecoveryStoreTest, AMissingFolderHoldsNothing) {
  EXPECT_EQ(Store().Newest(), std::nullopt);
  Store().Remove("/levels/cave.jpg");
  EXPECT_FALSE(std::filesystem::exists(Folder()));
  // Without any folder to write to, a save fails.
  EXPECT_THROW(RecoveryStore("").Save(PlainLevel("/levels/cave.jpg", 5)), InOutError);
}

TEST_F(RecoveryStoreTest, AFailedSaveKeepsThePreviousRecord) {
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
  EXPECT_EQ(Names().size(), 1u);
}

TEST_F(RecoveryStoreTest, SaveFailsWhereTheFolderCannotBe) {
  WriteBytes(scratch_.File("state"), "a file where the folder's parent should be");
  EXPECT_THROW(Store().Save(PlainLevel("/levels/cave.jpg", 5)), InOutError);
}

struct Damage {
  std::string name;
  std::function<std::string(const std::string&)> apply;  // the record's bytes -> damaged bytes
};

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const auto at = text.find(from);
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// Each way a record file can be damaged or not be ours: none is offered as a recovery, and none
// is deleted or changed by anything but an explicit Remove of its own key.
TEST_F(RecoveryStoreTest, DamagedRecordsAreNeverOfferedNorDeleted) {
  const std::string picture = "/levels/cave.jpg";
  const std::vector<Damage> damages = {
      {"empty", [](const std::string&) { return std::string(); }},
      {"another program's file", [](const std::string&) { return std::string("[Recent]\n"); }},
      {"a later format",
       [](const std::string& t) { return Replaced(t, "recovery 1", "recovery 2"); }},
      {"a flipped byte", [](const std::string& t) { return Replaced(t, "theme", "thame"); }},
      {"a wrong checksum", [](const std::string& t) { return Replaced(t, "sha256 ", "sha256 0"); }},
      {"a byte after the end", [](const std::string& t) { return t + "\n"; }},
      {"a length past the end",
       [](const std::string& t) { return Replaced(t, "music 8:", "music 900:"); }},
      {"a length with a leading zero",
       [](const std::string& t) { return Replaced(t, "music 8:", "music 08:"); }},
      {"a negative length",
       [](const std::string& t) { return Replaced(t, "music 8:", "music -8:"); }},
      {"a time that is no number",
       [](const std::string& t) { return Replaced(t, "saved-at 100", "saved-at 1e2"); }},
      {"a short grid row",
       [](const std::string& t) {
         return Replaced(t, "0000000000000000000\n", "000000000000000000\n");
       }},
      {"CR LF lines", [](const std::string& t) { return Replaced(t, "grid\n", "grid\r\n"); }},
      {"larger than a record can be",
       [](const std::string& t) { return t + std::string(1 << 20, '\n'); }},
  };
  for (const Damage& damage : damages) {
    SCOPED_TRACE(damage.name);
    Store().Save(PlainLevel(picture, 100));
    const std::string path = OnlyRecord();
    const std::string damaged = damage.apply(ReadBytes(path));
    ASSERT_NE(damaged, ReadBytes(path));
    WriteBytes(path, damaged);

    EXPECT_EQ(Store().Find(picture), std::nullopt);
    EXPECT_EQ(Store().Newest(), std::nullopt);
    Store().Save(PlainLevel("/levels/lake.jpg", 50));
    Store().Remove("/levels/lake.jpg");
    EXPECT_EQ(ReadBytes(path), damaged);

    Store().Remove(picture);
    EXPECT_TRUE(Names().empty());
  }
}

TEST_F(RecoveryStoreTest, EveryCutRecordIsRefused) {
  Store().Save(OddLevel("/levels/cave.jpg"));
  const std::string path = OnlyRecord();
  const std::string whole = ReadBytes(path);
  for (std::size_t length = 0; length < whole.size(); ++length) {
    WriteBytes(path, whole.substr(0, length));
    ASSERT_EQ(Store().Find("/levels/cave.jpg"), std::nullopt) << "cut at " << length;
  }
}

// A record copied under another picture's name is not that picture's recovery.
TEST_F(RecoveryStoreTest, ARecordUnderAnotherNameIsNotOffered) {
  Store().Save(PlainLevel("/levels/cave.jpg", 100));
  const std::string cave = OnlyRecord();
  Store().Save(PlainLevel("/levels/lake.jpg", 50));
  std::string lake;
  for (const std::string& name : Names()) {
    if (Folder() + name != cave) lake = Folder() + name;
  }
  WriteBytes(lake, ReadBytes(cave));
  EXPECT_EQ(Store().Find("/levels/lake.jpg"), std::nullopt);
  std::filesystem::remove(cave);
  EXPECT_EQ(Store().Newest(), std::nullopt);
}

// What is at a record's name but is not a regular file is skipped without blocking: a FIFO, a
// folder, a link (even to a good record).
TEST_F(RecoveryStoreTest, OtherKindsOfFileAreSkippedWithoutBlocking) {
  Store().Save(PlainLevel("/levels/cave.jpg", 100));
  const std::string record = OnlyRecord();
  const std::string elsewhere = scratch_.File("good.recovery");
  std::filesystem::rename(record, elsewhere);
  const std::vector<std::function<void()>> makers = {
      [&] { ASSERT_EQ(::mkfifo(record.c_str(), 0600), 0); },
      [&] { std::filesystem::create_directory(record); },
      [&] { std::filesystem::create_symlink(elsewhere, record); },
  };
  for (const auto& make : makers) {
    make();
    const std::string result = test::RunInChild(
        [&] {
          return std::string(Store().Find("/levels/cave.jpg") || Store().Newest() ? "offered"
                                                                                  : "skipped");
        },
        10);
    EXPECT_EQ(result, "skipped") << record;
    std::filesystem::remove(record);
  }
}

}  // namespace
}  // namespace tollwen
