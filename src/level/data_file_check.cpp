#include "level/data_file_check.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>

#include "level/tile_code.h"

namespace tollwen {

namespace {

using Severity = DataFileProblem::Severity;

// How much is read past the last row to count the lines there; the editor reads none of it.
constexpr std::int64_t kExtraBytesRead = std::int64_t{1} << 20;

// " (N <what> in this file)" when there is more than one.
std::string CountNote(std::int64_t count, const char* what) {
  if (count < 2) return {};
  return " (" + std::to_string(count) + " " + what + " in this file)";
}

}  // namespace

std::string ShownCharacter(char c) {
  const auto byte = static_cast<unsigned char>(c);
  if (byte >= 0x20 && byte < 0x7F) return std::string(1, c);
  std::array<char, 5> hex{};
  std::snprintf(hex.data(), hex.size(), "\\x%02X", byte);
  return hex.data();
}

DataFileScanner::DataFileScanner() : parser_(this, kExtraBytesRead) {}

void DataFileScanner::Add(Severity severity, std::int64_t line, std::int64_t column,
                          std::string message) {
  scan_.problems.push_back({severity, line, column, std::move(message), 0, 0});
}

void DataFileScanner::Cell(int cellColumn, int cellRow, char c, std::int64_t line,
                           std::int64_t column) {
  scan_.cellColumns[static_cast<std::size_t>(cellRow - 1)]
                   [static_cast<std::size_t>(cellColumn - 1)] = column;
  if (IsDrawableCode(c)) return;
  Add(Severity::kError, line, column,
      "'" + ShownCharacter(c) + "' is not a tile code; the editor stops drawing the level here");
  scan_.problems.back().cellColumn = cellColumn;
  scan_.problems.back().cellRow = cellRow;
}

void DataFileScanner::LineEnded(std::int64_t line, LineEnd end, std::int64_t endColumn,
                                std::int64_t kept, std::int64_t twentiethColumn) {
  if (end == LineEnd::kLf && lfOnly_++ == 0) {
    lfOnlyLine_ = line;
    lfOnlyColumn_ = endColumn;
  }
  if (line == 1 && kept == 0) Add(Severity::kWarning, 1, 0, "empty music name");
  if (line >= kFirstRowLine && line <= kLastRowLine) {
    const std::int64_t row = line - 1;
    const std::string length =
        "row " + std::to_string(row) + " has " + std::to_string(kept) + " characters, not 19; ";
    if (kept < LevelGrid::kColumns) {
      Add(Severity::kWarning, line, endColumn, length + "the editor fills it up with '0'");
    } else if (kept > LevelGrid::kColumns) {
      Add(Severity::kWarning, line, twentiethColumn,
          length + "the editor ignores those past the 19th");
    }
  }
  if (end == LineEnd::kEndOfFile && line <= kLastRowLine) {
    Add(Severity::kWarning, line, endColumn, "the last line has no line end; saving adds CR LF");
  }
  if (line > kLastRowLine) ++extraLines_;
}

void DataFileScanner::LoneCr(std::int64_t line, std::int64_t column) {
  if (loneCrs_++ > 0) return;
  loneCrLine_ = line;
  loneCrColumn_ = column;
}

DataFileScan DataFileScanner::Finish() {
  parser_.Finish();
  scan_.grid = parser_.Grid();
  scan_.musicName = parser_.MusicName();
  if (const std::int64_t line = parser_.TooLongLine(); line != 0) {
    // The editor refuses the whole file; nothing else about it matters.
    scan_.problems.clear();
    scan_.refused = true;
    Add(Severity::kError, line, 0,
        "the line is longer than " + std::to_string(kMaxDataLineLength) +
            " bytes; the editor refuses the file");
    return std::move(scan_);
  }
  if (loneCrs_ > 0) {
    Add(Severity::kWarning, loneCrLine_, loneCrColumn_,
        "CR without LF: the editor drops it and reads on in the same line" +
            CountNote(loneCrs_, "times"));
  }
  if (lfOnly_ > 0) {
    Add(Severity::kWarning, lfOnlyLine_, lfOnlyColumn_,
        "line ends with LF, not CR LF; saving rewrites the line ends" +
            CountNote(lfOnly_, "lines"));
  }
  if (extraLines_ > 0) {
    const bool cut = parser_.StoppedPastRows();
    const std::string count = (cut ? "more than " : "") + std::to_string(extraLines_);
    Add(Severity::kWarning, kLastRowLine + 1, 0,
        count + (extraLines_ == 1 && !cut ? " line" : " lines") +
            " after the last row; the editor ignores them and saving drops them");
  }
  const std::int64_t linesRead = parser_.LinesRead();
  if (linesRead == 0) Add(Severity::kWarning, 0, 0, "empty music name");
  const std::int64_t rowsRead = std::clamp<std::int64_t>(linesRead - 1, 0, LevelGrid::kRows);
  if (rowsRead < LevelGrid::kRows) {
    const std::string first = std::to_string(rowsRead + 1);
    Add(Severity::kWarning, 0, 0,
        (rowsRead + 1 == LevelGrid::kRows ? "row 13 is" : "rows " + first + "-13 are") +
            std::string(" missing; the editor reads them as rows of '0'"));
  }

  std::stable_sort(scan_.problems.begin(), scan_.problems.end(),
                   [](const DataFileProblem& a, const DataFileProblem& b) {
                     // Problems without a line go last.
                     const auto key = [](const DataFileProblem& p) {
                       return std::pair(p.line == 0 ? INT64_MAX : p.line, p.column);
                     };
                     return key(a) < key(b);
                   });
  return std::move(scan_);
}

}  // namespace tollwen
