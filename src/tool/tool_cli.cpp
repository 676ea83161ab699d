#include "tool/tool_cli.h"

#include <cstdio>

namespace tollwen::tool {

namespace {

constexpr const char* kHelp =
    "Usage: tollwen-level-tool check [--json] [--strict] PATH...\n"
    "       tollwen-level-tool render PICTURE.jpg [-o OUT.png] [--arrow-colour RRGGBB]\n"
    "                                 [--assets DIR]\n"
    "\n"
    "check   Checks every level: each PATH is a level picture or a folder searched for\n"
    "        *.jpg pictures. Prints one line a problem (FILE:LINE:COLUMN: error|warning:\n"
    "        message) and a summary, or with --json one JSON array of the levels.\n"
    "        Exit status 0 without errors, 1 when a level has an error (with --strict\n"
    "        also a warning), 2 for wrong usage or a path that cannot be read.\n"
    "        Reads the levels and writes nothing.\n"
    "render  Writes a PNG of the level's grid as the editor shows it (default: the\n"
    "        picture's name with .png). Arrows in the given colour (default 000000).\n"
    "        The tile bitmaps come from the program's directory or from --assets DIR.\n"
    "        Exit status 1 when the editor could not draw the whole level.\n";

}  // namespace

void PrintError(const std::string& message) {
  std::fprintf(stderr, "%s: %s\n", kProgramName, message.c_str());
}

int UsageError(const std::string& message) {
  PrintError(message);
  std::fprintf(stderr, "Try '%s --help'.\n", kProgramName);
  return kExitUsage;
}

bool AnswerHelpOrVersion(const std::vector<std::string>& args) {
  for (const std::string& arg : args) {
    if (arg == "--") return false;
    if (arg == "--help" || arg == "-h") {
      std::fputs(kHelp, stdout);
      return true;
    }
    if (arg == "--version") {
      std::printf("%s %s\n", kProgramName, TOLLWEN_VERSION);
      return true;
    }
  }
  return false;
}

}  // namespace tollwen::tool
