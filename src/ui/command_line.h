#pragma once

// The editor's command line:
//   tollwen-level-editor [--] [PICTURE.jpg]
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
struct EditorArguments {
  bool wrongUsage = false;
  std::optional<std::string> picture;  // as given, not yet made a full path
};

// The editor's arguments from those Qt left before "--" (`options`, without the program's
// name) and those after it (`names`). At most one picture may be named, in either part; before
// "--" an argument starting with '-' is an option the editor does not know.
EditorArguments ParseEditorArguments(const std::vector<std::string>& options,
                                     const std::vector<std::string>& names);

inline constexpr char kEditorUsage[] = "usage: tollwen-level-editor [--] [PICTURE.jpg]\n";

}  // namespace tollwen
