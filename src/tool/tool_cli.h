#pragma once

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

// The commands; `args` are the words after the command's name.
int RunCheck(const std::vector<std::string>& args);
int RunRender(const std::vector<std::string>& args);

}  // namespace tollwen::tool
