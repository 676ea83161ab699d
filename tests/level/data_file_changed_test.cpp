// A save writes only the file that was read or last written: what happened to the data file on
// disk since decides whether the save writes or refuses, and nothing but a regular file is
// ever opened.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "level/errors.h"
#include "scratch_dir.h"
#include "storage/data_file.h"
#include "uniform_level.h"

namespace tollwen {
namespace {

namespace fs = std::filesystem;
using testing::FilledGrid;
using testing::LevelText;
using testing::ReadBytes;
using testing::ScratchDir;
using testing::WriteBytes;

const std::string kRead = LevelText("read.mod", '1');
const std::string kSaved = LevelText("saved.mod", 'A');

// Saves kSaved to `path` against `expected`: "written", "refused: <message>" (nothing written)
// or the error.
std::string SaveAgainst(const std::string& path, const DataFileStamp* expected) {
  try {
    WriteDataFile(path, "saved.mod", FilledGrid('A'), {}, expected);
  } catch (const DataFileChangedError& error) {
    return std::string("refused: ") + error.what();
  } catch (const EditorError& error) {
    return std::string("failed: ") + error.what();
  }
  return ReadBytes(path) == kSaved ? "written" : "written wrong";
}

void SetModifiedTime(const std::string& path, const timespec& time) {
  const timespec times[2] = {time, time};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0);
}

timespec ModifiedTime(const std::string& path) {
  struct stat status {};
  ::stat(path.c_str(), &status);
  return status.st_mtim;
}

struct SinceTheRead {
  const char* what;
  // The level is read from `dir`/level.dat (a link to real.dat when `throughLink`), then this
  // happens to it.
  std::function<void(const std::string& dir)> happen;
  bool throughLink;
  bool written;
};

TEST(DataFileChangedTest, WhatHappenedOnDiskSinceTheReadDecidesTheSave) {
  const auto file = [](const std::string& dir) { return dir + "/level.dat"; };
  const SinceTheRead cases[] = {
      {"nothing", [](const std::string&) {}, false, true},
      {"nothing, through a link", [](const std::string&) {}, true, true},
      {"content changed, size and time kept",
       [&](const std::string& dir) {
         const timespec time = ModifiedTime(file(dir));
         WriteBytes(file(dir), LevelText("read.mod", '2'));
         SetModifiedTime(file(dir), time);
       },
       false, false},
      {"touched",
       [&](const std::string& dir) {
         SetModifiedTime(file(dir), {12345, 0});
       },
       false, false},
      {"replaced by an identical copy",
       [&](const std::string& dir) {
         const timespec time = ModifiedTime(file(dir));
         WriteBytes(dir + "/copy", kRead);
         SetModifiedTime(dir + "/copy", time);
         fs::rename(dir + "/copy", file(dir));
       },
       false, false},
      {"a symbolic link to another file put in its place",
       [&](const std::string& dir) {
         fs::rename(file(dir), file(dir) + ".orig");
         fs::create_symlink("other.dat", file(dir));
       },
       false, false},
      {"the link pointed elsewhere",
       [&](const std::string& dir) {
         fs::remove(file(dir));
         fs::create_symlink("other.dat", file(dir));
       },
       true, false},
      {"the link's file changed",
       [&](const std::string& dir) { WriteBytes(dir + "/real.dat", kRead + "\r\n"); }, true, false},
      {"deleted", [&](const std::string& dir) { fs::remove(file(dir)); }, false, true},
      {"the link's file deleted", [&](const std::string& dir) { fs::remove(dir + "/real.dat"); },
       true, true},
      {"a second name linked to it",
       [&](const std::string& dir) { fs::create_hard_link(file(dir), dir + "/second.dat"); }, false,
       true},
      {"its permissions changed",
       [&](const std::string& dir) { fs::permissions(file(dir), fs::perms(0640)); }, false, true},
  };
  for (const SinceTheRead& c : cases) {
    ScratchDir dir;
    const std::string path = file(dir.path());
    WriteBytes(dir.File("other.dat"), "another file");
    WriteBytes(c.throughLink ? dir.File("real.dat") : path, kRead);
    if (c.throughLink) fs::create_symlink("real.dat", path);
    LevelGrid grid;
    DataFileStamp stamp;
    ReadDataFile(path, grid, &stamp);
    c.happen(dir.path());
    const std::string before = fs::exists(path) ? ReadBytes(path) : "";

    const std::string outcome = SaveAgainst(path, &stamp);
    EXPECT_EQ(outcome, c.written ? "written"
                                 : "refused: The data file " + path +
                                       " changed on disk since it was opened.")
        << c.what;
    EXPECT_EQ(ReadBytes(dir.File("other.dat")), "another file") << c.what;
    if (!c.written) {
      EXPECT_EQ(fs::exists(path) ? ReadBytes(path) : "", before) << c.what;
      // The user chose to overwrite it: saved without the stamp.
      EXPECT_EQ(SaveAgainst(path, nullptr), "written") << c.what;
    }
    if (c.throughLink && c.written) {
      EXPECT_EQ(ReadBytes(dir.File("real.dat")), kSaved) << c.what;
    }
  }
}

// Where there was no data file at the open (a blank level), a file that appeared since is not
// overwritten unasked.
TEST(DataFileChangedTest, FileThatAppearedWhereNoneWasIsRefused) {
  ScratchDir dir;
  const std::string path = dir.File("level.dat");
  const DataFileStamp none;
  WriteBytes(path, kRead);
  EXPECT_EQ(SaveAgainst(path, &none),
            "refused: The data file " + path + " changed on disk since it was opened.");
  EXPECT_EQ(ReadBytes(path), kRead);
  fs::remove(path);
  EXPECT_EQ(SaveAgainst(path, &none), "written");
}

// The stamp a save returns is the one the next save expects, whichever way the file was
// written: saving twice never asks.
TEST(DataFileChangedTest, EachSaveGivesTheStampTheNextOneExpects) {
  const std::vector<std::function<void(const std::string&)>> layouts = {
      [](const std::string&) {},                                              // a new file
      [](const std::string& dir) { WriteBytes(dir + "/level.dat", kRead); },  // replaced
      [](const std::string& dir) {                                            // in place
        WriteBytes(dir + "/level.dat", kRead);
        fs::create_hard_link(dir + "/level.dat", dir + "/second.dat");
      },
      [](const std::string& dir) {  // in place through a link
        WriteBytes(dir + "/real.dat", kRead);
        fs::create_symlink("real.dat", dir + "/level.dat");
      },
  };
  for (std::size_t layout = 0; layout < layouts.size(); ++layout) {
    ScratchDir dir;
    layouts[layout](dir.path());
    const std::string path = dir.File("level.dat");
    DataFileStamp stamp = WriteDataFile(path, "first.mod", FilledGrid('3'));
    for (const char code : {'4', '5'}) {
      EXPECT_NO_THROW(stamp = WriteDataFile(path, "next.mod", FilledGrid(code), {}, &stamp))
          << "layout " << layout;
    }
    DataFileStamp read;
    LevelGrid grid;
    ReadDataFile(path, grid, &read);
    EXPECT_EQ(read, stamp) << "layout " << layout;
  }
}

// A FIFO at the data path, or a link to one (as to a device), is refused without ever being
// opened for reading or writing: the watch on it sees no open.
TEST(DataFileChangedTest, FifoOrLinkToOneIsNeverOpened) {
  ScratchDir dir;
  const std::string fifo = dir.File("pipe");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
  fs::create_symlink("pipe", dir.File("link.dat"));
  const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  ASSERT_GE(watch, 0);
  ASSERT_GE(::inotify_add_watch(watch, fifo.c_str(), IN_OPEN), 0);

  const DataFileStamp none;
  for (const std::string& path : {fifo, dir.File("link.dat")}) {
    LevelGrid grid;
    EXPECT_THROW(ReadDataFile(path, grid), InOutError) << path;
    EXPECT_EQ(SaveAgainst(path, nullptr), "failed: File access denied") << path;
    EXPECT_NE(SaveAgainst(path, &none), "written") << path;
  }
  char events[4096];
  EXPECT_LT(::read(watch, events, sizeof events), 0) << "the FIFO was opened";
  ::close(watch);
  EXPECT_TRUE(fs::is_fifo(fifo));
}

// A file swapped in at the path while a save writes (after its check) is not replaced: the
// save finds out when it moves the new content into place, and puts everything back.
TEST(DataFileChangedTest, FileSwappedInDuringTheSaveIsNotReplaced) {
  ScratchDir dir;
  const std::string path = dir.File("level.dat");
  WriteBytes(path, kRead);
  LevelGrid grid;
  DataFileStamp stamp;
  ReadDataFile(path, grid, &stamp);
  int rows = 0;
  const auto swapAtRow5 = [&] {
    if (++rows != 5) return;
    WriteBytes(dir.File("theirs"), "their level");
    fs::rename(dir.File("theirs"), path);
  };
  EXPECT_THROW(WriteDataFile(path, "saved.mod", FilledGrid('A'), swapAtRow5, &stamp),
               DataFileChangedError);
  EXPECT_EQ(ReadBytes(path), "their level");
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"level.dat"});
}

// Two programs saving one hard-linked file (written in place) at once: the saves take turns,
// so the file is one of the two levels, whole, and both report success honestly.
TEST(DataFileChangedTest, SavesAtOnceTakeTurns) {
  ScratchDir dir;
  const std::string path = dir.File("level.dat");
  WriteBytes(path, kRead);
  fs::create_hard_link(path, dir.File("second.dat"));
  std::vector<pid_t> savers;
  for (const char code : {'B', 'C'}) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      try {
        WriteDataFile(path, std::string(1, code) + ".mod", FilledGrid(code),
                      [] { ::usleep(5000); });
      } catch (...) {
        ::_exit(1);
      }
      ::_exit(0);
    }
    savers.push_back(child);
  }
  for (const pid_t saver : savers) {
    int status = 0;
    ASSERT_EQ(::waitpid(saver, &status, 0), saver);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  const std::string saved = ReadBytes(path);
  EXPECT_TRUE(saved == LevelText("B.mod", 'B') || saved == LevelText("C.mod", 'C')) << saved;
  EXPECT_EQ(ReadBytes(dir.File("second.dat")), saved);
}

}  // namespace
}  // namespace tollwen
