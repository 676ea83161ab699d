#include <sched.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <exception>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tool/check_report.h"
#include "tool/level_check.h"
#include "tool/level_files.h"
#include "tool/ordered_jobs.h"
#include "tool/shown_name.h"
#include "tool/tool_cli.h"

namespace tollwen::tool {

namespace {

using Severity = DataFileProblem::Severity;

// Above this many levels a terminal shows how far the check has come.
constexpr std::size_t kProgressFrom = 200;

// More workers than this gain nothing for reading files and only cost memory.
constexpr unsigned kMaxJobs = 256;

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

// The cores this process may run on.
unsigned AvailableCores() {
  cpu_set_t cores;
  CPU_ZERO(&cores);
  if (::sched_getaffinity(0, sizeof cores, &cores) == 0 && CPU_COUNT(&cores) > 0) {
    return static_cast<unsigned>(CPU_COUNT(&cores));
  }
  return std::max(1u, std::thread::hardware_concurrency());
}

// "--jobs N": a whole number from 1 up; nothing for anything else.
std::optional<unsigned> ParseJobs(const std::string& text) {
  unsigned jobs = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), jobs);
  if (error != std::errc() || end != text.data() + text.size() || jobs == 0) return std::nullopt;
  return std::min(jobs, kMaxJobs);
}

}  // namespace

int RunCheck(const std::vector<std::string>& args) {
  if (AnswerHelpOrVersion(args)) return kExitOk;
  CommandLine options;
  if (const std::string problem =
          ParseCommandLine(args, "check", {"--jobs", "-j"}, {"--json", "--strict"}, options);
      !problem.empty()) {
    return UsageError(problem);
  }
  if (options.operands.empty()) return UsageError("check needs a level picture or folder");
  unsigned jobs = AvailableCores();
  for (const char* option : {"--jobs", "-j"}) {
    if (!options.values.contains(option)) continue;
    const std::optional<unsigned> given = ParseJobs(options.Value(option));
    if (!given) {
      return UsageError(std::string(option) + " needs a whole number from 1 up, not '" +
                        ShownName(options.Value(option)) + "'");
    }
    jobs = *given;
  }
  const bool json = options.Has("--json");

  const LevelFiles files = FindLevelFiles(options.operands);
  if (!files.errors.empty()) {
    for (const std::string& error : files.errors) PrintError(error);
    return kExitUsage;
  }

  int errors = 0;
  int warnings = 0;
  Progress progress(files.found.size());
  if (json) Print("[");
  try {
    RunInOrder<LevelReport>(
        files.found.size(), jobs,
        [&files](std::size_t i) { return CheckFoundFile(files.found[i]); },
        [&](std::size_t i, LevelReport& report) {
          errors += report.Count(Severity::kError);
          warnings += report.Count(Severity::kWarning);
          if (json) {
            Print((i == 0 ? "\n  " : ",\n  ") + LevelJson(report));
          } else if (!report.problems.empty()) {
            progress.Clear();
            for (const LevelProblem& problem : report.problems) Print(ProblemLine(problem) + "\n");
            std::fflush(stdout);
          }
          progress.Show(i + 1);
        });
  } catch (const std::exception& error) {
    // Out of memory, most likely: the report is incomplete, and must not pass for a check.
    progress.Clear();
    std::fflush(stdout);
    PrintError(std::string("the check stopped: ") + error.what());
    return kExitUsage;
  }
  progress.Clear();
  Print(json ? (files.found.empty() ? "]\n" : "\n]\n")
             : SummaryLine(files.PictureCount(), errors, warnings) + "\n");
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    PrintError("cannot write the report");
    return kExitUsage;
  }
  if (errors > 0 || (options.Has("--strict") && warnings > 0)) return kExitLevelError;
  return kExitOk;
}

}  // namespace tollwen::tool
