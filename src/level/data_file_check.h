#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "level/data_file_parser.h"
#include "level/level_grid.h"

namespace tollwen {

// Where a data file departs from what the editor writes, as found by reading it the way the
// editor does (see ReadDataFile): a line ends at LF or CR LF, a CR without LF is dropped, the
// first line is the music name, the next 13 are the rows, cut to 19 characters and filled up
// with '0'.
struct DataFileProblem {
  enum class Severity { kError, kWarning };

  Severity severity = Severity::kWarning;
  std::int64_t line = 0;    // 1-based; 0 when the problem concerns no line of the file
  std::int64_t column = 0;  // 1-based byte column in the line; 0 when it concerns the whole line
  std::string message;
  // For a character that is not a tile code: the grid cell that holds it (column 1..19,
  // row 1..13); 0 otherwise.
  int cellColumn = 0;
  int cellRow = 0;
};

struct DataFileScan {
  // The music name and the rows exactly as the editor reads them.
  std::string musicName;
  LevelGrid grid;
  // Where each cell's character stands in its line (the 1-based byte column), by row and column
  // from 0; 0 for a cell the file does not hold (the editor fills it up with '0').
  std::array<std::array<std::int64_t, LevelGrid::kColumns>, LevelGrid::kRows> cellColumns{};
  // By line and column; problems without a line last.
  std::vector<DataFileProblem> problems;
  // The editor refuses the file (a line too long for a data file) and opens no level; the one
  // problem says why.
  bool refused = false;
};

// Reads a data file fed in pieces of any size, in a fixed amount of memory, with the editor's
// own reader (DataFileParser), and notes every departure.
class DataFileScanner : private DataFileListener {
 public:
  DataFileScanner();
  DataFileScanner(const DataFileScanner&) = delete;
  DataFileScanner& operator=(const DataFileScanner&) = delete;

  void Feed(std::string_view bytes) { parser_.Feed(bytes); }
  // True once the rest of the file cannot change what the editor reads: a line is too long to
  // be read, or enough has been seen past the last row.
  bool Done() const { return parser_.Done(); }
  // The result once every byte has been fed.
  DataFileScan Finish();

 private:
  void Cell(int cellColumn, int cellRow, char c, std::int64_t line, std::int64_t column) override;
  void LineEnded(std::int64_t line, LineEnd end, std::int64_t endColumn, std::int64_t kept,
                 std::int64_t twentiethColumn) override;
  void LoneCr(std::int64_t line, std::int64_t column) override;
  void Add(DataFileProblem::Severity severity, std::int64_t line, std::int64_t column,
           std::string message);

  DataFileParser parser_;
  DataFileScan scan_;

  // Line-end departures are reported once a file, at their first place, with a count.
  std::int64_t loneCrs_ = 0;
  std::int64_t loneCrLine_ = 0, loneCrColumn_ = 0;
  std::int64_t lfOnly_ = 0;
  std::int64_t lfOnlyLine_ = 0, lfOnlyColumn_ = 0;
  std::int64_t extraLines_ = 0;
};

// A character as a message shows it: itself when printable ASCII, otherwise \xNN.
std::string ShownCharacter(char c);

}  // namespace tollwen
