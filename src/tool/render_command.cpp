#include <string>
#include <vector>

#include "tool/tool_cli.h"

namespace tollwen::tool {

int RunRender(const std::vector<std::string>& args) {
  if (AnswerHelpOrVersion(args)) return kExitOk;
  return UsageError("render is not available yet");
}

}  // namespace tollwen::tool
