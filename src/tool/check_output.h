#pragma once

#include <cstddef>
#include <exception>
#include <string>

#include "tool/level_check.h"

namespace tollwen {

// What a check prints on stdout as the reports come in, in order: one line a problem and a
// summary, or with JSON one array of the levels. On a terminal, a long check also shows on
// stderr how far it has come. Counts the errors and warnings.
class CheckOutput {
 public:
  enum class Format { kLines, kJson };

  CheckOutput(std::size_t reports, Format format);
  ~CheckOutput();
  CheckOutput(const CheckOutput&) = delete;
  CheckOutput& operator=(const CheckOutput&) = delete;

  // The report of the found file `index`; every index from 0 in turn.
  void Add(std::size_t index, const LevelReport& report);

  // Ends the output: the summary of `levels` levels, or the end of the JSON array. False,
  // having said so on stderr, when stdout could not be written.
  bool Finish(int levels);

  // Says on stderr that `work` ("the check") stopped before the end, and why: the output is
  // incomplete.
  void Stopped(const std::string& work, const std::exception& error);

  int Errors() const { return errors_; }
  int Warnings() const { return warnings_; }

 private:
  void ShowProgress(std::size_t done);
  void ClearProgress();

  std::size_t reports_;
  Format format_;
  bool progressShown_;
  int errors_ = 0;
  int warnings_ = 0;
};

}  // namespace tollwen
