#include <exception>
#include <string>
#include <vector>

#include "tool/check_output.h"
#include "tool/level_check.h"
#include "tool/level_files.h"
#include "tool/ordered_jobs.h"
#include "tool/tool_cli.h"

namespace tollwen::tool {

int RunCheck(const std::vector<std::string>& args) {
  if (AnswerHelpOrVersion(args)) return kExitOk;
  CommandLine options;
  if (const std::string problem =
          ParseCommandLine(args, "check", {"--jobs", "-j"}, {"--json", "--strict"}, options);
      !problem.empty()) {
    return UsageError(problem);
  }
  if (options.operands.empty()) return UsageError("check needs a level picture or folder");
  unsigned jobs = 0;
  if (const int status = ReadJobs(options, jobs); status != kExitOk) return status;

  const LevelFiles files = FindLevelFiles(options.operands);
  if (!files.errors.empty()) {
    for (const std::string& error : files.errors) PrintError(error);
    return kExitUsage;
  }

  CheckOutput output(files.found.size(), options.Has("--json") ? CheckOutput::Format::kJson
                                                               : CheckOutput::Format::kLines);
  try {
    RunInOrder<LevelReport>(
        files.found.size(), jobs,
        [&files](std::size_t i) { return CheckFoundFile(files.found[i]); },
        [&output](std::size_t i, LevelReport& report) { output.Add(i, report); });
  } catch (const std::exception& error) {
    // Out of memory, most likely: the report is incomplete, and must not pass for a check.
    output.Stopped("the check", error);
    return kExitUsage;
  }
  if (!output.Finish(files.PictureCount())) return kExitUsage;
  if (output.Errors() > 0 || (options.Has("--strict") && output.Warnings() > 0)) {
    return kExitLevelError;
  }
  return kExitOk;
}

}  // namespace tollwen::tool
