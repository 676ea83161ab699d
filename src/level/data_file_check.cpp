#include "level/data_file_check.h"

#include <fcntl.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>

#include "level/data_file.h"
#include "level/posix_file.h"
#include "level/tile_code.h"

namespace tollwen {

namespace {

using Severity = DataFileProblem::Severity;

// Line 1 holds the music name, lines 2 ... 14 the rows.
constexpr int kFirstRowLine = 2;
constexpr int kLastRowLine = kFirstRowLine + LevelGrid::kRows - 1;

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

void DataFileScanner::Add(Severity severity, std::int64_t line, std::int64_t column,
                          std::string message) {
  scan_.problems.push_back({severity, line, column, std::move(message), 0, 0});
}

void DataFileScanner::Keep(char c) {
  ++kept_;
  if (line_ == 1 && kept_ > static_cast<std::int64_t>(kMaxMusicLineLength)) {
    Add(Severity::kError, 1, 0,
        "the music name is longer than " + std::to_string(kMaxMusicLineLength) +
            " bytes; the editor refuses the file");
    done_ = true;
    return;
  }
  if (line_ == 1) scan_.musicName += c;
  if (line_ < kFirstRowLine || line_ > kLastRowLine) return;
  if (kept_ > LevelGrid::kColumns) {
    if (kept_ == LevelGrid::kColumns + 1) twentiethColumn_ = column_;
    return;
  }
  const int cellColumn = static_cast<int>(kept_);
  const int cellRow = static_cast<int>(line_ - 1);
  scan_.grid.SetCell(cellColumn, cellRow, c);
  scan_.cellColumns[static_cast<std::size_t>(cellRow - 1)]
                   [static_cast<std::size_t>(cellColumn - 1)] = column_;
  if (!IsDrawableCode(c)) {
    Add(Severity::kError, line_, column_,
        "'" + ShownCharacter(c) + "' is not a tile code; the editor stops drawing the level here");
    scan_.problems.back().cellColumn = cellColumn;
    scan_.problems.back().cellRow = cellRow;
  }
}

void DataFileScanner::EndLine(bool crLf) {
  // Where the line's end (or the file's) begins.
  const std::int64_t endColumn = crLf ? crColumn_ : column_;
  const std::int64_t row = line_ - 1;
  if (line_ == 1 && kept_ == 0) Add(Severity::kWarning, 1, 0, "empty music name");
  if (line_ >= kFirstRowLine && line_ <= kLastRowLine) {
    const std::string length =
        "row " + std::to_string(row) + " has " + std::to_string(kept_) + " characters, not 19; ";
    if (kept_ < LevelGrid::kColumns) {
      Add(Severity::kWarning, line_, endColumn, length + "the editor fills it up with '0'");
    } else if (kept_ > LevelGrid::kColumns) {
      Add(Severity::kWarning, line_, twentiethColumn_,
          length + "the editor ignores those past the 19th");
    }
  }
  if (line_ > kLastRowLine) ++extraLines_;
  ++linesRead_;
  ++line_;
  column_ = 0;
  kept_ = 0;
}

void DataFileScanner::NoteLoneCr() {
  if (loneCrs_++ > 0) return;
  loneCrLine_ = line_;
  loneCrColumn_ = crColumn_;
}

void DataFileScanner::Feed(std::string_view bytes) {
  for (const char c : bytes) {
    if (done_) return;
    if (line_ > kLastRowLine && ++extraBytes_ > kExtraBytesRead) {
      done_ = true;
      return;
    }
    if (crPending_) {
      crPending_ = false;
      if (c == '\n') {
        ++column_;
        EndLine(true);
        continue;
      }
      NoteLoneCr();
    }
    ++column_;
    if (c == '\r') {
      crPending_ = true;
      crColumn_ = column_;
    } else if (c == '\n') {
      if (lfOnly_++ == 0) {
        lfOnlyLine_ = line_;
        lfOnlyColumn_ = column_;
      }
      EndLine(false);
    } else {
      Keep(c);
    }
  }
}

DataFileScan DataFileScanner::Finish() {
  if (done_ && line_ == 1) return std::move(scan_);  // the music line alone refuses the file
  if (crPending_) {
    crPending_ = false;
    NoteLoneCr();
  }
  // A last line without a line end is still a line.
  if (column_ > 0) {
    const std::int64_t line = line_;
    ++column_;
    const std::int64_t end = column_;
    EndLine(false);
    if (line <= kLastRowLine) {
      Add(Severity::kWarning, line, end, "the last line has no line end; saving adds CR LF");
    }
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
    const std::string count = (done_ ? "more than " : "") + std::to_string(extraLines_);
    Add(Severity::kWarning, kLastRowLine + 1, 0,
        count + (extraLines_ == 1 && !done_ ? " line" : " lines") +
            " after the last row; the editor ignores them and saving drops them");
  }
  if (linesRead_ == 0) Add(Severity::kWarning, 0, 0, "empty music name");
  const std::int64_t rowsRead = std::clamp<std::int64_t>(linesRead_ - 1, 0, LevelGrid::kRows);
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

DataFileScan ScanDataFile(const std::string& path) {
  FileDescriptor file = OpenFile(path, O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  RequireRegularFile(file.get());
  DataFileScanner scanner;
  std::array<char, 16 * 1024> buffer{};
  while (!scanner.Done()) {
    const std::size_t got = ReadSome(file.get(), buffer.data(), buffer.size());
    if (got == 0) break;
    scanner.Feed(std::string_view(buffer.data(), got));
  }
  return scanner.Finish();
}

}  // namespace tollwen
