// tollwen-level-tool: checks level files by the editor's rules and renders levels to PNG,
// without a window.
#include <string>
#include <vector>

#include "tool/tool_cli.h"

int main(int argc, char** argv) {
  using namespace tollwen::tool;
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return UsageError("a command is needed: check or render");
  if (AnswerHelpOrVersion({args.front()})) return kExitOk;
  const std::string command = args.front();
  args.erase(args.begin());
  if (command == "check") return RunCheck(args);
  if (command == "render") return RunRender(args);
  return UsageError("unknown command '" + command + "'");
}
