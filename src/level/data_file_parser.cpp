#include "level/data_file_parser.h"

namespace tollwen {

DataFileParser::DataFileParser(DataFileListener* listener, std::int64_t bytesPastRows)
    : listener_(listener), bytesPastRows_(bytesPastRows) {}

bool DataFileParser::PastLimit(std::int64_t column) {
  if (line_ > kLastRowLine || column <= kMaxDataLineLength) return false;
  tooLongLine_ = line_;
  done_ = true;
  return true;
}

void DataFileParser::Keep(char c) {
  if (PastLimit(column_)) return;
  ++kept_;
  if (line_ == 1) {
    music_.push_back(c);
    return;
  }
  if (line_ > kLastRowLine) return;
  if (kept_ > LevelGrid::kColumns) {
    if (kept_ == LevelGrid::kColumns + 1) twentiethColumn_ = column_;
    return;
  }
  const int cellColumn = static_cast<int>(kept_);
  const int cellRow = static_cast<int>(line_ - 1);
  grid_.SetCell(cellColumn, cellRow, c);
  if (listener_ != nullptr) listener_->Cell(cellColumn, cellRow, c, line_, column_);
}

void DataFileParser::EndLine(LineEnd end) {
  if (listener_ != nullptr) {
    const std::int64_t endColumn = end == LineEnd::kCrLf ? crColumn_ : column_;
    listener_->LineEnded(line_, end, endColumn, kept_, twentiethColumn_);
  }
  ++line_;
  column_ = 0;
  kept_ = 0;
  twentiethColumn_ = 0;
  if (line_ > kLastRowLine && bytesPastRows_ == 0) done_ = true;
}

void DataFileParser::ResolveLoneCr() {
  crPending_ = false;
  if (PastLimit(crColumn_)) return;
  if (listener_ != nullptr) listener_->LoneCr(line_, crColumn_);
}

void DataFileParser::Feed(std::string_view bytes) {
  for (const char c : bytes) {
    if (done_) return;
    if (line_ > kLastRowLine && ++bytesPast_ > bytesPastRows_) {
      stoppedPastRows_ = true;
      done_ = true;
      return;
    }
    if (crPending_) {
      if (c == '\n') {
        crPending_ = false;
        ++column_;
        EndLine(LineEnd::kCrLf);
        continue;
      }
      ResolveLoneCr();
      if (done_) return;
    }
    ++column_;
    if (c == '\r') {
      crPending_ = true;
      crColumn_ = column_;
    } else if (c == '\n') {
      EndLine(LineEnd::kLf);
    } else {
      Keep(c);
    }
  }
}

void DataFileParser::Finish() {
  // Once the rows are complete (the editor's reading), or the file was refused, there is no
  // line left to end. A reading that stopped past the rows ends the line it stopped in.
  if (tooLongLine_ != 0 || (done_ && !stoppedPastRows_) || finished_) return;
  finished_ = true;
  if (crPending_) ResolveLoneCr();
  if (tooLongLine_ != 0) return;
  // A last line without a line end is still a line.
  if (column_ > 0) {
    ++column_;
    EndLine(LineEnd::kEndOfFile);
  }
  done_ = true;
}

Message TooLongLineMessage(std::int64_t line) {
  return Message(QT_TRANSLATE_NOOP("tollwen::Message",
                                   "Error: Line %1 of the data file is longer than %2 bytes!"),
                 {Message::Verbatim(std::to_string(line)),
                  Message::Verbatim(std::to_string(kMaxDataLineLength))});
}

}  // namespace tollwen
