#pragma once

// The editor's command line:
//   tollwen-level-editor [--help] [--version] [--] [PICTURE.jpg]
// Qt takes its own options (-style, -platform, -reverse, ...) out of the arguments it is given.
// "--" ends the options: every argument after it is a file name, whatever it looks like, and
// is kept from Qt, so that a picture named "-x.jpg" or "-style=x.jpg" opens.

#include <optional>
#include <string>
#include <vector>

namespace tollwen {

// The command line, split where the first "--" ends the options.
struct CommandLineParts {
  // The program's name and the arguments before "--", then a null pointer: what Qt is given.
  std::vector<char*> forQt;
  // The arguments after "--".
  std::vector<std::string> names;
};

CommandLineParts SplitAtEndOfOptions(int argc, char** argv);

// What the command line asks for.
enum class EditorRequest {
  kOpenWindow,  // with the picture, if one is named
  kHelp,        // --help, -h: the help on standard output
  kVersion,     // --version, -v: the version on standard output
  kWrongUsage,  // the usage on standard error, exit status 2
};

struct EditorArguments {
  EditorRequest request = EditorRequest::kOpenWindow;
  std::optional<std::string> picture;  // as given, not yet made a full path
};

// The editor's arguments from those Qt left before "--" (`options`, without the program's
// name) and those after it (`names`). --help and --version are answered wherever they stand,
// also among arguments Qt has not taken out yet, so they need no display. At most one picture
// may be named, in either part; before "--" an argument starting with '-' is an option the
// editor does not know. A picture's name keeps its bytes, also where they are not UTF-8.
EditorArguments ParseEditorArguments(const std::vector<std::string>& options,
                                     const std::vector<std::string>& names);

// What --help prints: the usage with the program's name as it was started, the options and the
// picture argument.
std::string EditorHelp();

// What --version prints: "tollwen-level-editor VERSION".
std::string EditorVersion();

inline constexpr char kEditorUsage[] =
    "usage: tollwen-level-editor [--help] [--version] [--] [PICTURE.jpg]\n";

}  // namespace tollwen
