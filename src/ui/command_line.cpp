#include "ui/command_line.h"

#include <algorithm>
#include <string_view>

namespace tollwen {

CommandLineParts SplitAtEndOfOptions(int argc, char** argv) {
  CommandLineParts parts;
  char** const end = argv + argc;
  char** const separator = std::find_if(
      argv + std::min(argc, 1), end, [](const char* arg) { return arg == std::string_view("--"); });
  parts.forQt.assign(argv, separator);
  parts.forQt.push_back(nullptr);
  if (separator != end) parts.names.assign(separator + 1, end);
  return parts;
}

EditorArguments ParseEditorArguments(const std::vector<std::string>& options,
                                     const std::vector<std::string>& names) {
  EditorArguments parsed;
  const bool unknownOption =
      std::any_of(options.begin(), options.end(),
                  [](const std::string& arg) { return !arg.empty() && arg.front() == '-'; });
  if (unknownOption || options.size() + names.size() > 1) {
    parsed.wrongUsage = true;
  } else if (!options.empty()) {
    parsed.picture = options.front();
  } else if (!names.empty()) {
    parsed.picture = names.front();
  }
  return parsed;
}

}  // namespace tollwen
