// tollwen-level-tool: checks level files by the editor's rules, renders levels to PNG, shows
// what changed between two versions of a level and makes a contact sheet of a pack, without a
// window.
#include <string>
#include <vector>

#include "tool/shown_name.h"
#include "tool/tool_cli.h"

int main(int argc, char** argv) {
  using namespace tollwen::tool;
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return UsageError("a command is needed: check, render, diff or sheet");
  if (AnswerHelpOrVersion({args.front()})) return kExitOk;
  const std::string command = args.front();
  args.erase(args.begin());
  if (command == "check") return RunCheck(args);
  if (command == "render") return RunRender(args);
  if (command == "diff") return RunDiff(args);
  if (command == "sheet") return RunSheet(args);
  return UsageError("unknown command '" + tollwen::ShownName(command) + "'");
}
