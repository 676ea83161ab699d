#include "ui/command_runner.h"

#include <QCoreApplication>
#include <exception>
#include <utility>

#include "level/errors.h"

namespace tollwen {

CommandRunner::CommandRunner(ErrorHandler showError, BlockedCheck blocked)
    : showError_(std::move(showError)), blocked_(std::move(blocked)) {}

bool CommandRunner::Run(const std::function<void()>& command) {
  if (blocked_ && blocked_()) return false;
  return RunAlways(command);
}

bool CommandRunner::RunAlways(const std::function<void()>& command) {
  std::string message;
  try {
    command();
    return true;
  } catch (const EditorError& error) {
    // In the user's language; what() is the English the level tool prints.
    message = error.message().Translated();
  } catch (const std::exception& error) {
    message = error.what();
  } catch (...) {
    message = QCoreApplication::translate("tollwen::CommandRunner", "Unknown error").toStdString();
  }
  // Shown outside the handlers, so a failure while showing cannot leave a half-handled
  // exception behind.
  if (showError_) {
    try {
      showError_(message);
    } catch (...) {
      // Nothing more can be reported; the program goes on.
    }
  }
  return false;
}

}  // namespace tollwen
