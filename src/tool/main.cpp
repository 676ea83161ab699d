// tollwen-level-tool: checks level files by the editor's rules, renders levels to PNG, shows
// what changed between two versions of a level and makes a contact sheet of a pack, without a
// window.
#include <malloc.h>

#include <string>
#include <vector>

#include "tool/shown_name.h"
#include "tool/tool_cli.h"

namespace {

// The commands go through level after level, each with pictures of about a megabyte. By
// default glibc hands such blocks back to the system when they are freed, and the next level
// faults them in again: a sheet of 100 levels took 73,000 page faults and twice its time. Kept
// in the heap, they serve the next level.
void KeepFreedPictureMemory() {
#ifdef __GLIBC__
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 64 << 20);
#endif
}

}  // namespace

int main(int argc, char** argv) {
  using namespace tollwen::tool;
  KeepFreedPictureMemory();
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
