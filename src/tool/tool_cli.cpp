#include "tool/tool_cli.h"

#include <sched.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <optional>
#include <thread>

#include "program_info.h"
#include "tool/shown_name.h"

namespace tollwen::tool {

namespace {

constexpr const char* kHelp =
    "Usage: tollwen-level-tool check [--json] [--strict] [--jobs N] PATH...\n"
    "       tollwen-level-tool render PICTURE.jpg [-o OUT.png] [--arrow-colour RRGGBB]\n"
    "                                 [--assets DIR]\n"
    "       tollwen-level-tool diff OLD.dat NEW.dat [--picture PICTURE.jpg -o OUT.png]\n"
    "                               [--label NAME] [--arrow-colour RRGGBB] [--assets DIR]\n"
    "       tollwen-level-tool sheet PATH... -o SHEET.png [--columns N] [--width PIXELS]\n"
    "                                [--jobs N] [--arrow-colour RRGGBB] [--assets DIR]\n"
    "\n"
    "check   Checks every level: each PATH is a level picture or a folder searched for\n"
    "        *.jpg pictures (and for *.dat files that no picture pairs with). Prints one\n"
    "        line a problem (FILE:LINE:COLUMN: error|warning: message) and a summary, or\n"
    "        with --json one JSON array of the levels. In the lines, a backslash, control\n"
    "        characters and bytes that are not UTF-8 in names are escaped (\\\\, \\n,\n"
    "        \\x1b, \\xff); in JSON a name that is not UTF-8 comes with its exact bytes in\n"
    "        hex (pictureBytes, dataFileBytes, fileBytes). --jobs N checks N levels at a\n"
    "        time (default: one a core); the output is the same for every N.\n"
    "        Exit status 0 without errors, 1 when a level has an error (with --strict\n"
    "        also a warning; a folder or file in a searched folder that cannot be read is\n"
    "        an error), 2 for wrong usage or a named path that cannot be read.\n"
    "        Reads the levels and writes nothing.\n"
    "render  Writes a PNG of the level's grid as the editor shows it (default: the\n"
    "        picture's name with .png). Arrows in the given colour (default 000000).\n"
    "        The tile bitmaps come from --assets DIR, else from the program's folder,\n"
    "        else from ../share/tollwen-level-editor/ beside it (as installed).\n"
    "        Never writes over the picture or its data file, nor to anything that is not\n"
    "        a regular file (exit status 2). Exit status 1 when the editor could not\n"
    "        draw the whole level.\n"
    "diff    Prints each cell that differs between two data files at its place in NEW\n"
    "        (NEW.dat:LINE:COLUMN: column C, row R: OLD TILE -> NEW TILE), a changed\n"
    "        music name, and the number of changed cells; --label NAME names NEW in\n"
    "        them (git hands over temporary copies). With --picture, also writes NEW\n"
    "        rendered as render does, each changed cell outlined in black and magenta.\n"
    "        Reads both files only. Exit status 0 when the levels are the same, 1 when\n"
    "        they differ, 2 when a file cannot be read or the PNG cannot be written.\n"
    "sheet   Writes a PNG contact sheet of what check finds in the PATHs, in the same\n"
    "        order: each level drawn as render draws it, reduced to PIXELS wide\n"
    "        (default 320, from 128 to 640), N to a row (default 4, up to 100), its name\n"
    "        below it. A level with an error gets a red frame and its first error under\n"
    "        its name, one with warnings an amber frame and its first warning; where\n"
    "        nothing can be drawn (a picture that does not decode, a data file the\n"
    "        editor refuses, a data file without a picture) the cell is crossed out.\n"
    "        Prints check's lines and summary. --jobs N draws N levels at a time; the\n"
    "        sheet is the same for every N. Never writes over a file of the pack, nor\n"
    "        to anything that is not a regular file. Exit status 0 without errors, 1\n"
    "        when a level has an error, 2 for wrong usage, a named path that cannot be\n"
    "        read or a sheet that cannot be written.\n";

// More workers than this gain nothing for reading files and only cost memory.
constexpr unsigned kMaxJobs = 256;

// The cores this process may run on.
unsigned AvailableCores() {
  cpu_set_t cores;
  CPU_ZERO(&cores);
  if (::sched_getaffinity(0, sizeof cores, &cores) == 0 && CPU_COUNT(&cores) > 0) {
    return static_cast<unsigned>(CPU_COUNT(&cores));
  }
  return std::max(1u, std::thread::hardware_concurrency());
}

// The whole number `text` spells, digits only; nothing for anything else.
std::optional<unsigned> WholeNumber(const std::string& text) {
  unsigned number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return number;
}

int NotANumber(const std::string& option, const std::string& range, const std::string& text) {
  return UsageError(option + " needs a whole number " + range + ", not '" + ShownName(text) + "'");
}

}  // namespace

std::string CommandLine::Value(const std::string& option) const {
  const auto found = values.find(option);
  return found == values.end() ? std::string() : found->second;
}

std::string ParseCommandLine(const std::vector<std::string>& args, const std::string& command,
                             std::initializer_list<std::string> valueOptions,
                             std::initializer_list<std::string> flagOptions, CommandLine& parsed) {
  const auto isOneOf = [](const std::string& word, std::initializer_list<std::string> options) {
    return std::find(options.begin(), options.end(), word) != options.end();
  };
  bool optionsEnd = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnd || arg.size() < 2 || arg.front() != '-') {
      parsed.operands.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnd = true;
      continue;
    }
    const std::size_t equals = arg.starts_with("--") ? arg.find('=') : std::string::npos;
    const std::string name = arg.substr(0, equals);
    if (isOneOf(name, valueOptions)) {
      if (equals != std::string::npos) {
        parsed.values[name] = arg.substr(equals + 1);
      } else if (i + 1 < args.size()) {
        parsed.values[name] = args[++i];
      } else {
        return ShownName(name) + " needs a value";
      }
    } else if (equals == std::string::npos && isOneOf(name, flagOptions)) {
      parsed.flags.insert(name);
    } else {
      return "unknown option '" + ShownName(arg) + "' for " + command;
    }
  }
  return {};
}

int ReadJobs(const CommandLine& options, unsigned& jobs) {
  jobs = AvailableCores();
  for (const char* option : {"--jobs", "-j"}) {
    if (!options.values.contains(option)) continue;
    const std::string text = options.Value(option);
    const std::optional<unsigned> given = WholeNumber(text);
    if (!given || *given == 0) return NotANumber(option, "from 1 up", text);
    jobs = std::min(*given, kMaxJobs);
  }
  return kExitOk;
}

int ReadWholeNumber(const CommandLine& options, const std::string& option, unsigned lowest,
                    unsigned highest, unsigned& number) {
  if (!options.values.contains(option)) return kExitOk;
  const std::string text = options.Value(option);
  const std::optional<unsigned> given = WholeNumber(text);
  if (!given || *given < lowest || *given > highest) {
    return NotANumber(option, "from " + std::to_string(lowest) + " to " + std::to_string(highest),
                      text);
  }
  number = *given;
  return kExitOk;
}

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
      std::printf("%s %s\n", kProgramName, kProgramVersion);
      return true;
    }
  }
  return false;
}

}  // namespace tollwen::tool
