#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <array>
#include <string>
#include <vector>

#include "editor/editor.h"
#include "support/fake_window.h"

namespace tollwen::test {

inline constexpr const char* kWrongSizeMessage = "Error: Image must be 640x447 pixels in size!";
inline constexpr const char* kNoDataFileMessage =
    "A valid datafile does not exist so one was created!";
inline constexpr const char* kSavedMessage = "File Saved!";
inline constexpr const char* kBlankRow = "0000000000000000000";
inline constexpr const char* kAskBeforeOpen =
    "AskSaveChanges Save changes to the level before opening another level?";

using LevelRows = std::array<std::string, 13>;

// A data file's exact bytes: the music line, then the 13 rows, each line ended by CR LF.
std::string LevelText(const std::string& music, const LevelRows& rows);
std::string BlankLevelText(const std::string& music);
// Rows that are blank except row 1, which is `firstRow`.
LevelRows RowsWithFirst(const std::string& firstRow);

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool PathExists(const std::string& path);
// Makes `home` (a new folder) the user's home for what follows, with the state folder in it.
std::string FreshHome(const std::string& home);

// An editor over a fake window, with a fresh temporary directory for pictures and data files.
// The window's call log also notes what the grid is told to show: "Display closed",
// "Display shown", "Display stopped" and "Picture laid over the grid".
class EditorTest : public ::testing::Test {
 protected:
  EditorTest();

  // A new directory under the temporary root; the path ends with '/'.
  std::string MakeDir(const std::string& name);
  // Writes a JPEG picture of the given size to `path` and returns the path.
  std::string MakePicture(const std::string& path, int width = 640, int height = 447);
  // Answers the picture question with `picturePath` and runs Open.
  void Open(const std::string& picturePath);

  EditorState& State() { return editor_.State(); }
  LevelDocument& Level() { return editor_.Level(); }
  // Paints the current tile into the level cell as a key press would: a step of its own.
  void Paint(int column, int row) {
    editor_.Tools().Step({0, 0}, {column, row}, {}, false);
    editor_.Tools().End({});
  }
  // Paints the cells as one drag of the brush.
  void Stroke(const std::vector<QPoint>& cells);

  QTemporaryDir tempDir_;
  std::string root_;
  std::string resourceDir_;
  // The user's home, a fresh folder: the editor keeps its recovery files below it.
  std::string home_;
  FakeWindow window_;
  Editor editor_;
  // Every range of level cells the document announced as changed, in order.
  std::vector<QRect> changedCells_;
};

}  // namespace tollwen::test
