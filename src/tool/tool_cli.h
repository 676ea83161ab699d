#pragma once

#include <initializer_list>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace tollwen::tool {

// Exit statuses: success; a level with an error; the command could not do what was asked
// (wrong usage, a missing or unreadable path, output that could not be written).
inline constexpr int kExitOk = 0;
inline constexpr int kExitLevelError = 1;
inline constexpr int kExitUsage = 2;

inline constexpr const char* kProgramName = "tollwen-level-tool";

// Prints "tollwen-level-tool: <message>" on stderr.
void PrintError(const std::string& message);

// Prints the message and a pointer to --help on stderr; returns kExitUsage.
int UsageError(const std::string& message);

// Handles --help and --version wherever they stand among `args`: prints the answer on stdout
// and returns true.
bool AnswerHelpOrVersion(const std::vector<std::string>& args);

// The words after a command's name, split into options and operands.
struct CommandLine {
  std::vector<std::string> operands;
  std::map<std::string, std::string> values;  // the value of each option that takes one
  std::set<std::string> flags;                // the options given that take none

  bool Has(const std::string& flag) const { return flags.contains(flag); }
  // The option's value; "" when it was not given.
  std::string Value(const std::string& option) const;
};

// Splits the words after the command `command`: an option named in `valueOptions` takes the
// next word (or, for a long option, what follows "=" in "--option=value") as its value, one
// named in `flagOptions` stands alone, "--" ends the options, and every other word is an
// operand. Returns "" or the message of a usage error (an unknown option, a missing value).
std::string ParseCommandLine(const std::vector<std::string>& args, const std::string& command,
                             std::initializer_list<std::string> valueOptions,
                             std::initializer_list<std::string> flagOptions, CommandLine& parsed);

// Reads --jobs N (or -j N) from `options`: how many levels to work on at a time, a whole number
// from 1 up; by default one a core the process may run on. Returns kExitOk, or the exit status
// of a usage error it has reported.
int ReadJobs(const CommandLine& options, unsigned& jobs);

// Reads the value of `option` into `number` when it was given: a whole number from `lowest` to
// `highest`. Returns kExitOk, or the exit status of a usage error it has reported.
int ReadWholeNumber(const CommandLine& options, const std::string& option, unsigned lowest,
                    unsigned highest, unsigned& number);

// The commands; `args` are the words after the command's name.
int RunCheck(const std::vector<std::string>& args);
int RunRender(const std::vector<std::string>& args);
int RunDiff(const std::vector<std::string>& args);
int RunSheet(const std::vector<std::string>& args);

}  // namespace tollwen::tool
