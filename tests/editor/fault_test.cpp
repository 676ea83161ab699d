// Faults from outside the editor, met through its commands: a disk that fills up during a
// save, a data file or a whole level directory taken away between Open and Save, a huge data
// file, path bytes that are not ASCII or not even UTF-8, and pictures that are not plain files.
// Each test shows that nothing is lost and that the editor goes on working afterwards.
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>  // jpeglib.h needs FILE and size_t declared before it
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "display/colours.h"
#include "display/tile_set.h"
#include "editor/editor_fixture.h"
#include "level/errors.h"
#include "level/path_parts.h"
#include "storage/state_folder.h"
#include "support/bmp_builder.h"
#include "support/child_process.h"

extern "C" {
#include <jpeglib.h>
// After jpeglib.h, which it builds on.
#include <jerror.h>
}

namespace tollwen::test {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;

const LevelRows kOriginalRows = RowsWithFirst("123456789ABCDEF0000");

LevelRows EditedRows() {
  LevelRows rows = kOriginalRows;
  rows[12] = "000000000000000000E";
  return rows;
}

const std::string kOriginal = LevelText("tune.mod", kOriginalRows);
const std::string kEdited = LevelText("tune.mod", EditedRows());

// The message of the error `action` raised, or "" when it raised none.
std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const EditorError& error) {
    return error.what();
  }
  return "";
}

// The names in `dir`, sorted and joined with spaces.
std::string NamesIn(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  std::string joined;
  for (const auto& name : names) joined += (joined.empty() ? "" : " ") + name;
  return joined;
}

// What the editor holds at one moment: its own state and the level's.
struct EditorSnapshot {
  explicit EditorSnapshot(Editor& editor)
      : display(editor.Level().Display()),
        imageDirChosen(editor.State().ImageDirChosen),
        currentTile(editor.State().CurrentTile),
        musicName(editor.Level().MusicName()),
        dataPath(editor.Level().DataPath()),
        pictureDialogDir(editor.State().PictureDialogDir),
        grid(editor.Level().Grid()),
        picture(editor.Level().Picture()) {}

  LevelDisplay display;
  bool imageDirChosen;
  TileCode currentTile;
  std::string musicName;
  std::string dataPath;
  std::string pictureDialogDir;
  LevelGrid grid;
  QImage picture;
};

// The fields that differ between two moments, by name; "" when none.
std::string ChangedFields(const EditorSnapshot& before, const EditorSnapshot& after) {
  std::string changed;
  const auto note = [&](bool same, const char* name) {
    if (!same) changed += std::string(changed.empty() ? "" : " ") + name;
  };
  note(before.display == after.display, "Display");
  note(before.imageDirChosen == after.imageDirChosen, "ImageDirChosen");
  note(before.currentTile == after.currentTile, "CurrentTile");
  note(before.musicName == after.musicName, "MusicName");
  note(before.dataPath == after.dataPath, "DataPath");
  note(before.pictureDialogDir == after.pictureDialogDir, "PictureDialogDir");
  note(before.grid == after.grid, "Grid");
  note(before.picture == after.picture, "Picture");
  return changed;
}

// A kilobyte figure from /proc/self/status ("VmRSS", "VmHWM"), or -1.
long StatusKilobytes(const std::string& field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field + ":", 0) == 0) return std::stol(line.substr(field.size() + 1));
  }
  return -1;
}

class FaultTest : public EditorTest {
 protected:
  // QTemporaryDir cannot remove names that are not UTF-8; removing them by their bytes first
  // leaves it nothing to do.
  ~FaultTest() override {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }

  // Opens `dir`level1.jpg over a data file holding kOriginal and paints one cell, so that the
  // editor holds kEdited.
  void OpenEditedLevel(const std::string& dir) {
    WriteFileBytes(dir + "level1.dat", kOriginal);
    Open(MakePicture(dir + "level1.jpg"));
    editor_.ChooseTile('E');
    Paint(19, 13);
    window_.ClearCalls();
  }

  // What a failed save got wrong, or "intact": `dir`level1.dat must still hold kOriginal, the
  // directory nothing but it, the picture and `otherNames` (no temporary file left over), the
  // editor state must be `before`, nothing confirmed and the editor no longer busy.
  std::string FailedSaveProblems(const std::string& dir, const EditorSnapshot& before,
                                 const std::string& otherNames = "") {
    std::string problems;
    if (ReadFileBytes(dir + "level1.dat") != kOriginal) problems += "data file changed; ";
    const std::string expected =
        otherNames + (otherNames.empty() ? "" : " ") + "level1.dat level1.jpg";
    if (NamesIn(dir) != expected) problems += "directory holds " + NamesIn(dir) + "; ";
    if (const std::string changed = ChangedFields(before, EditorSnapshot(editor_));
        !changed.empty())
      problems += "state changed: " + changed + "; ";
    if (!window_.Messages().empty()) problems += "shown: " + window_.Messages().front() + "; ";
    if (editor_.Busy()) problems += "still busy; ";
    return problems.empty() ? "intact" : problems;
  }

  // Saves again, with Save (which writes to the data path) or with Save As to `path`, and says
  // whether the edited level was written to `path` and confirmed.
  std::string SaveAgain(const std::string& path, bool saveAs = false) {
    window_.ClearCalls();
    if (saveAs) window_.AnswerSaveFile(path);
    const std::string error = ErrorOf([&] { saveAs ? editor_.SaveAs() : editor_.Save(); });
    if (!error.empty()) return "save failed again: " + error;
    if (window_.Messages() != std::vector<std::string>{kSavedMessage}) return "not confirmed";
    return ReadFileBytes(path) == kEdited ? "saved" : "saved wrong content";
  }
};

TEST_F(FaultTest, SaveBeyondTheFileSizeLimitKeepsThePreviousFile) {
  const std::string dir = MakeDir("levels");
  OpenEditedLevel(dir);
  const EditorSnapshot before(editor_);

  const std::string outcome = RunInChild([&]() -> std::string {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit original{};
    if (::getrlimit(RLIMIT_FSIZE, &original) != 0) return "getrlimit failed";
    // Room for the music line and a few rows, not for the whole file.
    const rlimit low{100, original.rlim_max};
    if (::setrlimit(RLIMIT_FSIZE, &low) != 0) return "setrlimit failed";
    const std::string error = ErrorOf([&] { editor_.Save(); });
    const std::string left = FailedSaveProblems(dir, before);
    // Space is found again: the same Save now succeeds.
    if (::setrlimit(RLIMIT_FSIZE, &original) != 0) return "setrlimit failed";
    return error + "; " + left + "; " + SaveAgain(dir + "level1.dat");
  });
  EXPECT_EQ(outcome, "Disk full; intact; saved");
}

// A small file system of its own, filled up. Mounting needs the superuser and a private mount
// namespace; where either is missing the test is skipped (the file-size limit above always
// runs).
TEST_F(FaultTest, SaveOnAFullFileSystemKeepsThePreviousFile) {
  const std::string dir = MakeDir("small-disk");

  const std::string outcome = RunInChild([&]() -> std::string {
    if (::unshare(CLONE_NEWNS) != 0) return std::string("skip: unshare: ") + strerror(errno);
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
      return std::string("skip: private mounts: ") + strerror(errno);
    if (::mount("tmpfs", dir.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "size=1m,mode=0755") != 0)
      return std::string("skip: tmpfs: ") + strerror(errno);

    OpenEditedLevel(dir);
    const EditorSnapshot before(editor_);
    const std::string filler = dir + "filler";
    {
      const int fd = ::open(filler.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
      if (fd < 0) return "cannot create the filler";
      const std::string block(4096, 'x');
      // A short write near the end is followed by one that fails.
      while (::write(fd, block.data(), block.size()) > 0) {
      }
      const int err = errno;
      ::close(fd);
      if (err != ENOSPC) return std::string("filling stopped with ") + strerror(err);
    }
    const std::string error = ErrorOf([&] { editor_.Save(); });
    const std::string left = FailedSaveProblems(dir, before, "filler");
    fs::remove(filler);
    return error + "; " + left + "; " + SaveAgain(dir + "level1.dat");
  });
  if (outcome.rfind("skip: ", 0) == 0) GTEST_SKIP() << outcome;
  EXPECT_EQ(outcome, "Disk full; intact; saved");
}

// The directory stays writable, so only the file's own permission stands in the way; a save
// must not get round it by replacing the file. The superuser ignores permission bits, so the
// save runs in a child that has become an unprivileged user.
TEST_F(FaultTest, DataFileMadeReadOnlyAfterOpenIsNotSavedOver) {
  const std::string dir = MakeDir("levels");
  const std::string elsewhere = MakeDir("elsewhere");
  OpenEditedLevel(dir);
  const EditorSnapshot before(editor_);
  const std::string probe = root_ + "probe";
  WriteFileBytes(probe, "probe");
  ASSERT_EQ(::chmod(probe.c_str(), 0444), 0);
  ASSERT_EQ(::chmod(root_.c_str(), 0755), 0);
  ASSERT_EQ(::chmod(dir.c_str(), 0777), 0);
  ASSERT_EQ(::chmod(elsewhere.c_str(), 0777), 0);
  ASSERT_EQ(::chmod((dir + "level1.dat").c_str(), 0444), 0);

  const std::string outcome = RunInChild([&]() -> std::string {
    if (std::string problem = DropPrivileges(probe); !problem.empty()) return problem;
    const std::string error = ErrorOf([&] { editor_.Save(); });
    const std::string left = FailedSaveProblems(dir, before);
    return error + "; " + left + "; " + SaveAgain(elsewhere + "level1.dat", true);
  });
  EXPECT_EQ(outcome, "File access denied; intact; saved");
  EXPECT_EQ(ReadFileBytes(dir + "level1.dat"), kOriginal);
}

TEST_F(FaultTest, LevelDirectoryRemovedAfterOpen) {
  const std::string dir = MakeDir("levels");
  OpenEditedLevel(dir);
  const EditorSnapshot before(editor_);
  fs::remove_all(dir);

  // The data file went with its folder: Save asks before writing it again, and then fails.
  window_.AnswerOverwrite(true);
  EXPECT_EQ(ErrorOf([&] { editor_.Save(); }), "File not found");
  EXPECT_EQ(ChangedFields(before, EditorSnapshot(editor_)), "");
  EXPECT_TRUE(window_.Messages().empty());
  EXPECT_FALSE(editor_.Busy());
  // Nothing brings the directory back behind the user's back.
  EXPECT_FALSE(PathExists(dir));

  const std::string elsewhere = MakeDir("elsewhere") + "level1.dat";
  EXPECT_EQ(SaveAgain(elsewhere, true), "saved");
  EXPECT_EQ(Level().DataPath(), elsewhere);
  EXPECT_EQ(NamesIn(root_ + "elsewhere"), "level1.dat");
}

// The data file's second line is 100 MB long (a hole in a sparse file), which no level data
// file has. The open stops reading there, in a fixed amount of memory, names the line, and
// leaves no level open; the file is not touched.
TEST_F(FaultTest, HundredMegabyteLineIsRefusedInBoundedMemory) {
  constexpr off_t kHugeLine = off_t{100} << 20;
  const std::string dir = MakeDir("levels");
  const std::string picture = MakePicture(dir + "level1.jpg");
  {
    const std::string head = "tune.mod\r\n" + kOriginalRows[0];
    std::string tail = "\r\n";
    for (std::size_t row = 1; row < kOriginalRows.size(); ++row)
      tail += kOriginalRows[row] + "\r\n";
    const int fd = ::open((dir + "level1.dat").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    const auto tailAt = static_cast<off_t>(head.size()) + kHugeLine;
    const bool written =
        ::pwrite(fd, head.data(), head.size(), 0) == static_cast<ssize_t>(head.size()) &&
        ::pwrite(fd, tail.data(), tail.size(), tailAt) == static_cast<ssize_t>(tail.size());
    ::close(fd);
    ASSERT_TRUE(written);
  }

  const std::string outcome = RunInChild([&]() -> std::string {
    const long residentBefore = StatusKilobytes("VmRSS");
    {
      // Sets the peak resident size back to the present one.
      std::ofstream clear("/proc/self/clear_refs");
      clear << "5";
      clear.close();
      if (!clear || residentBefore < 0) return "cannot measure the peak memory";
    }
    const std::string error = ErrorOf([&] { Open(picture); });
    const long growth = StatusKilobytes("VmHWM") - residentBefore;
    if (growth > 16 * 1024) return "memory grew by " + std::to_string(growth / 1024) + " MB";
    if (Level().Editable()) return "level left open";
    return error;
  });
  EXPECT_EQ(outcome, "Error: Line 2 of the data file is longer than 65536 bytes!");
  EXPECT_EQ(fs::file_size(dir + "level1.dat"),
            10u + 19u + static_cast<std::uintmax_t>(kHugeLine) + 2u + 12u * 21u);
}

TEST_F(FaultTest, LevelPathsWithNonAsciiAndInvalidUtf8Bytes) {
  // UTF-8 letters, and bytes that are not UTF-8 at all (Latin-1 letters, 0xff).
  const std::string dir = MakeDir("Niveaux \xc3\xa9t\xc3\xa9 \xff\xfe");
  const std::string picture = MakePicture(dir + "niveau \xe9\xff.jpg");
  const std::string music = "chanson \xc3\xa9\xff.mod";
  WriteFileBytes(dir + "niveau \xe9\xff.dat", LevelText(music, kOriginalRows));

  Open(picture);
  EXPECT_EQ(Level().DataPath(), dir + "niveau \xe9\xff.dat");
  EXPECT_EQ(State().PictureDialogDir, dir);
  EXPECT_EQ(Level().MusicName(), music);
  editor_.ChooseTile('E');
  Paint(19, 13);
  editor_.Save();
  EXPECT_EQ(ReadFileBytes(dir + "niveau \xe9\xff.dat"), LevelText(music, EditedRows()));

  window_.AnswerMusicFile("/musique/\xff\xc3\xa9.xm");
  editor_.SelectMusic();
  window_.AnswerSaveFile(dir + "copie \xff.dat");
  editor_.SaveAs();
  EXPECT_EQ(ReadFileBytes(dir + "copie \xff.dat"), LevelText("\xff\xc3\xa9.xm", EditedRows()));

  // The next Open starts in that directory and reads the saved level back.
  Open(picture);
  EXPECT_EQ(window_.PictureDirsAsked().back(), dir);
  EXPECT_EQ(Level().Grid().CellAt(19, 13), 'E');
  EXPECT_EQ(Level().MusicName(), music);
  EXPECT_EQ(NamesIn(dir), "copie \xff.dat niveau \xe9\xff.dat niveau \xe9\xff.jpg");
}

TEST_F(FaultTest, AssetsLoadFromResourceDirWithNonAsciiAndInvalidUtf8Bytes) {
  const std::string resources = MakeDir("Ressources \xc3\xa9 \xff");
  const auto tileImage = [](int i) {
    QImage image(32, 32, QImage::Format_RGB32);
    image.fill(kWhite);
    for (int x = 0; x < i; ++x) image.setPixel(x, 1, kBlack);
    return image;
  };
  QImage marker(32, 32, QImage::Format_RGB32);
  marker.fill(kTeal);
  WriteBmp24(resources + "start.bmp", marker);
  for (int i = 1; i <= 15; ++i)
    WriteBmp24(resources + "0123456789ABCDEF"[i] + ".bmp", tileImage(i));

  // The editor installed there finds that directory with every byte as it is.
  const std::string self = root_ + "self";
  ASSERT_EQ(::symlink((resources + "tollwen-level-editor").c_str(), self.c_str()), 0);
  FakeWindow window;
  Editor editor(window, ExecutableDirectory(self));
  EXPECT_EQ(editor.State().ResourceDir, resources);
  LoadAssets(editor.State().ResourceDir, editor.State().Tiles);
  for (int i = 1; i <= 15; ++i) EXPECT_EQ(editor.State().Tiles.TileBitmap(i).Image(), tileImage(i));
  EXPECT_EQ(editor.State().Tiles.StartMarker().Image(), marker);

  // An error names the file with its bytes as they are.
  fs::remove(resources + "7.bmp");
  EXPECT_EQ(ErrorOf([&] { LoadAssets(editor.State().ResourceDir, editor.State().Tiles); }),
            "Cannot open file " + resources + "7.bmp");
}

// Each Open runs in a child with a time limit, so a picture that blocks (a FIFO waiting for a
// writer) fails the test instead of hanging it.
TEST_F(FaultTest, PictureThatIsADirectoryFifoOrHugeFileIsRefused) {
  const std::string dir = MakeDir("levels");
  OpenEditedLevel(dir);

  const std::string folder = dir + "folder.jpg";
  fs::create_directory(folder);
  const std::string fifo = dir + "pipe.jpg";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  // 2 GiB of nothing but a hole.
  const std::string huge = dir + "huge.jpg";
  WriteFileBytes(huge, "");
  ASSERT_EQ(::truncate(huge.c_str(), off_t{2} << 30), 0);

  const std::vector<std::pair<std::string, std::string>> cases = {
      {folder, "Cannot open file " + folder},
      {fifo, "Cannot open file " + fifo},
      {huge, "JPEG error #" + std::to_string(JERR_NO_SOI)},
  };
  for (const auto& testCase : cases) {
    const std::string& picture = testCase.first;
    const std::string& message = testCase.second;
    SCOPED_TRACE(picture);
    const std::string outcome = RunInChild(
        [&]() -> std::string {
          const EditorSnapshot before(editor_);
          window_.AnswerSaveChanges(SaveChangesAnswer::Discard);
          // The child of an earlier case saved the level: the file changed since it was read.
          window_.AnswerOverwrite(true);
          const std::string error = ErrorOf([&] { Open(picture); });
          std::string left;
          if (const std::string changed = ChangedFields(before, EditorSnapshot(editor_));
              !changed.empty())
            left += "state changed: " + changed + "; ";
          if (window_.Calls() != std::vector<std::string>{kAskBeforeOpen, "AskPictureFile " + dir})
            left += "window asked for more than the picture; ";
          if (!Level().Editable()) left += "grid disabled; ";
          if (editor_.Busy()) left += "still busy; ";
          // The level that was open is still the one saved.
          return error + "; " + (left.empty() ? "intact" : left) + "; " +
                 SaveAgain(dir + "level1.dat");
        },
        20);
    EXPECT_EQ(outcome, message + "; intact; saved");
  }
}

}  // namespace
}  // namespace tollwen::test
