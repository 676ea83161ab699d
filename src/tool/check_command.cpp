#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tool/check_report.h"
#include "tool/level_check.h"
#include "tool/level_files.h"
#include "tool/tool_cli.h"

namespace tollwen::tool {

namespace {

using Severity = DataFileProblem::Severity;

// Above this many levels a terminal shows how far the check has come.
constexpr std::size_t kProgressFrom = 200;

struct CheckOptions {
  bool json = false;
  bool strict = false;
  std::vector<std::string> paths;
};

// A progress line on stderr, redrawn in place; only on a terminal.
class Progress {
 public:
  explicit Progress(std::size_t total)
      : total_(total), shown_(total > kProgressFrom && ::isatty(STDERR_FILENO) == 1) {}
  ~Progress() { Clear(); }
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  void Show(std::size_t done) {
    if (shown_) std::fprintf(stderr, "\rchecked %zu of %zu levels", done, total_);
  }
  // Takes the line away before other output goes to the same terminal.
  void Clear() {
    if (shown_) std::fputs("\r\033[K", stderr);
  }

 private:
  std::size_t total_;
  bool shown_;
};

void Print(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }

}  // namespace

int RunCheck(const std::vector<std::string>& args) {
  if (AnswerHelpOrVersion(args)) return kExitOk;
  CheckOptions options;
  bool optionsEnd = false;
  for (const std::string& arg : args) {
    if (!optionsEnd && arg == "--") {
      optionsEnd = true;
    } else if (!optionsEnd && arg == "--json") {
      options.json = true;
    } else if (!optionsEnd && arg == "--strict") {
      options.strict = true;
    } else if (!optionsEnd && arg.size() > 1 && arg.front() == '-') {
      return UsageError("unknown option '" + arg + "' for check");
    } else {
      options.paths.push_back(arg);
    }
  }
  if (options.paths.empty()) return UsageError("check needs a level picture or folder");

  const LevelFiles files = FindLevelPictures(options.paths);
  if (!files.errors.empty()) {
    for (const std::string& error : files.errors) PrintError(error);
    return kExitUsage;
  }

  int errors = 0;
  int warnings = 0;
  Progress progress(files.pictures.size());
  if (options.json) Print("[");
  for (std::size_t i = 0; i < files.pictures.size(); ++i) {
    const LevelReport report = CheckLevel(files.pictures[i]);
    errors += report.Count(Severity::kError);
    warnings += report.Count(Severity::kWarning);
    if (options.json) {
      Print((i == 0 ? "\n  " : ",\n  ") + LevelJson(report));
    } else if (!report.problems.empty()) {
      progress.Clear();
      for (const LevelProblem& problem : report.problems) Print(ProblemLine(problem) + "\n");
      std::fflush(stdout);
    }
    progress.Show(i + 1);
  }
  progress.Clear();
  const int levels = static_cast<int>(files.pictures.size());
  Print(options.json ? (levels == 0 ? "]\n" : "\n]\n")
                     : SummaryLine(levels, errors, warnings) + "\n");
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    PrintError("cannot write the report");
    return kExitUsage;
  }
  if (errors > 0 || (options.strict && warnings > 0)) return kExitLevelError;
  return kExitOk;
}

}  // namespace tollwen::tool
