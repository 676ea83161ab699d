#include "tool/check_output.h"

#include <unistd.h>

#include <cstdio>

#include "tool/check_report.h"
#include "tool/tool_cli.h"

namespace tollwen {

namespace {

using Severity = DataFileProblem::Severity;

// Above this many reports a terminal shows how far the check has come.
constexpr std::size_t kProgressFrom = 200;

void Print(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }

}  // namespace

CheckOutput::CheckOutput(std::size_t reports, Format format)
    : reports_(reports),
      format_(format),
      progressShown_(reports > kProgressFrom && ::isatty(STDERR_FILENO) == 1) {
  if (format_ == Format::kJson) Print("[");
}

CheckOutput::~CheckOutput() { ClearProgress(); }

void CheckOutput::Add(std::size_t index, const LevelReport& report) {
  errors_ += report.Count(Severity::kError);
  warnings_ += report.Count(Severity::kWarning);
  if (format_ == Format::kJson) {
    Print((index == 0 ? "\n  " : ",\n  ") + LevelJson(report));
  } else if (!report.problems.empty()) {
    ClearProgress();
    for (const LevelProblem& problem : report.problems) Print(ProblemLine(problem) + "\n");
    std::fflush(stdout);
  }
  ShowProgress(index + 1);
}

bool CheckOutput::Finish(int levels) {
  ClearProgress();
  if (format_ == Format::kJson) {
    Print(reports_ == 0 ? "]\n" : "\n]\n");
  } else {
    Print(SummaryLine(levels, errors_, warnings_) + "\n");
  }
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    tool::PrintError("cannot write the report");
    return false;
  }
  return true;
}

void CheckOutput::Stopped(const std::string& work, const std::exception& error) {
  ClearProgress();
  std::fflush(stdout);
  tool::PrintError(work + " stopped: " + error.what());
}

void CheckOutput::ShowProgress(std::size_t done) {
  if (progressShown_) std::fprintf(stderr, "\rchecked %zu of %zu levels", done, reports_);
}

// Takes the progress line away before other output goes to the same terminal.
void CheckOutput::ClearProgress() {
  if (progressShown_) std::fputs("\r\033[K", stderr);
}

}  // namespace tollwen
