#include "editor/editor_fixture.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "support/jpeg_writer.h"

namespace tollwen::test {

std::string LevelText(const std::string& music, const LevelRows& rows) {
  std::string text = music + "\r\n";
  for (const auto& row : rows) text += row + "\r\n";
  return text;
}

std::string BlankLevelText(const std::string& music) {
  LevelRows rows;
  rows.fill(kBlankRow);
  return LevelText(music, rows);
}

LevelRows RowsWithFirst(const std::string& firstRow) {
  LevelRows rows;
  rows.fill(kBlankRow);
  rows[0] = firstRow;
  return rows;
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out.flush()) throw std::runtime_error("cannot write " + path);
}

bool PathExists(const std::string& path) { return std::filesystem::exists(path); }

std::string FreshHome(const std::string& home) {
  std::filesystem::create_directory(home);
  setenv("HOME", home.c_str(), 1);
  unsetenv("XDG_STATE_HOME");
  return home;
}

EditorTest::EditorTest()
    : root_(tempDir_.path().toStdString() + "/"),
      resourceDir_(root_ + "bin/"),
      home_(FreshHome(root_ + "home/")),
      editor_(window_, resourceDir_) {
  std::filesystem::create_directory(resourceDir_);
  LevelDocument& level = editor_.Level();
  QObject::connect(&level, &LevelDocument::cellsChanged,
                   [this](const QRect& cells) { changedCells_.push_back(cells); });
  // What the grid shows, in the call log among the questions and messages.
  QObject::connect(&level, &LevelDocument::displayChanged, [this, &level] {
    static constexpr const char* kNames[] = {"Display closed", "Display shown", "Display stopped"};
    window_.Note(kNames[static_cast<int>(level.Display())]);
  });
  QObject::connect(&level, &LevelDocument::pictureLaidOver,
                   [this] { window_.Note("Picture laid over the grid"); });
}

void EditorTest::Stroke(const std::vector<QPoint>& cells) {
  ToolBox& tools = editor_.Tools();
  for (const QPoint& cell : cells) {
    const QPointF middle = QPointF(cell) + QPointF(0.5, 0.5);
    cell == cells.front() ? tools.Press(cell, middle, {}) : tools.Drag(cell, middle, {});
  }
  tools.End({});
}

std::string EditorTest::MakeDir(const std::string& name) {
  const std::string dir = root_ + name + "/";
  std::filesystem::create_directories(dir);
  return dir;
}

std::string EditorTest::MakePicture(const std::string& path, int width, int height) {
  JpegOptions options;
  options.width = width;
  options.height = height;
  WriteJpegFile(path, options);
  return path;
}

void EditorTest::Open(const std::string& picturePath) {
  window_.AnswerPictureFile(picturePath);
  editor_.OpenLevel();
}

}  // namespace tollwen::test
