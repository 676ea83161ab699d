#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "level/level_grid.h"
#include "level/message.h"

namespace tollwen {

// The longest line a data file may have in its music line and rows, in bytes before the line
// end. A level needs 19 characters a row and a music file's name a few dozen; a longer line
// only comes from a file that is not a level data file (a sparse file of many gigabytes, say),
// and reading it through would freeze the editor.
inline constexpr std::int64_t kMaxDataLineLength = 64 * 1024;

// Line 1 holds the music name, lines 2 ... 14 the rows.
inline constexpr std::int64_t kFirstRowLine = 2;
inline constexpr std::int64_t kLastRowLine = kFirstRowLine + LevelGrid::kRows - 1;

// How a line ended.
enum class LineEnd { kCrLf, kLf, kEndOfFile };

// Hears of every detail of a data file as DataFileParser splits it, for a report on where the
// file departs from what the editor writes. Columns are 1-based byte columns of the file's line,
// CRs included.
class DataFileListener {
 public:
  virtual ~DataFileListener() = default;
  // A cell's character: grid column 1..19 and row 1..13, found at `column` of `line`.
  virtual void Cell(int /*cellColumn*/, int /*cellRow*/, char /*c*/, std::int64_t /*line*/,
                    std::int64_t /*column*/) {}
  // Line `line` ended with `end` beginning at `endColumn`. `kept` is its length without CRs;
  // `twentiethColumn` is where its 20th kept character is (0 when it has fewer).
  virtual void LineEnded(std::int64_t /*line*/, LineEnd /*end*/, std::int64_t /*endColumn*/,
                         std::int64_t /*kept*/, std::int64_t /*twentiethColumn*/) {}
  // A CR not followed by LF: dropped, and the line goes on.
  virtual void LoneCr(std::int64_t /*line*/, std::int64_t /*column*/) {}
};

// Splits a data file, fed in pieces of any size, into the music name and the rows exactly as
// the editor reads it, in a bounded amount of memory. A line ends at LF or CR LF; a CR without
// LF is dropped and does not end the line. Line 1 is the music name, kept whole; lines 2 ... 14
// are rows 1 ... 13, of which the first 19 characters are kept and a shorter row (or a missing
// one) is filled up with '0'. A line among them longer than kMaxDataLineLength stops the
// reading: the file is not a data file (TooLongLine()).
class DataFileParser {
 public:
  // `bytesPastRows`: how much after the last row is still read, for a listener that counts the
  // lines there; the editor reads none of it.
  explicit DataFileParser(DataFileListener* listener = nullptr, std::int64_t bytesPastRows = 0);

  void Feed(std::string_view bytes);
  // True once the rest of the file cannot change the result.
  bool Done() const { return done_; }
  // The end of the file.
  void Finish();

  const std::string& MusicName() const { return music_; }
  const LevelGrid& Grid() const { return grid_; }
  // The line (1 ... 14) that is longer than kMaxDataLineLength; 0 when there is none.
  std::int64_t TooLongLine() const { return tooLongLine_; }
  // Lines seen so far, a last line without a line end included.
  std::int64_t LinesRead() const { return line_ - 1; }
  // Bytes after the last row that were not read (Done() came first).
  bool StoppedPastRows() const { return stoppedPastRows_; }

 private:
  void Keep(char c);
  void EndLine(LineEnd end);
  void ResolveLoneCr();
  // Stops the reading when the byte at `column` of the current line is past the limit.
  bool PastLimit(std::int64_t column);

  DataFileListener* listener_;
  std::int64_t bytesPastRows_;
  std::string music_;
  LevelGrid grid_;
  std::int64_t line_ = 1;
  std::int64_t column_ = 0;  // bytes of the current line so far, CRs included
  std::int64_t kept_ = 0;    // characters of the current line kept (CRs dropped)
  std::int64_t twentiethColumn_ = 0;
  bool crPending_ = false;
  std::int64_t crColumn_ = 0;
  std::int64_t bytesPast_ = 0;
  std::int64_t tooLongLine_ = 0;
  bool stoppedPastRows_ = false;
  bool done_ = false;
  bool finished_ = false;
};

// The message of the error the editor raises for a line longer than kMaxDataLineLength.
Message TooLongLineMessage(std::int64_t line);

}  // namespace tollwen
