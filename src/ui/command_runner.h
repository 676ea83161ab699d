#pragma once

#include <functional>
#include <string>

namespace tollwen {

// The top-level error boundary. Every command, palette press, menu item, grid selection and
// start-up step runs through Run: an error that escapes it (EditorError or any other
// exception) abandons the rest of that command and is shown to the user (an EditorError in the
// user's language), and the program goes on. No exception ever reaches Qt's event loop.
class CommandRunner {
 public:
  // Shows the message of an error that escaped a command.
  using ErrorHandler = std::function<void(const std::string& message)>;
  // True while input must do nothing (a command is running and let the window repaint).
  using BlockedCheck = std::function<bool()>;

  CommandRunner(ErrorHandler showError, BlockedCheck blocked);

  // Runs `command` unless input is blocked. True when it ran to completion; false when it was
  // skipped or failed (the failure has been shown).
  bool Run(const std::function<void()>& command);
  // Runs `command` whatever the blocked check says (start-up, which is not user input).
  bool RunAlways(const std::function<void()>& command);

 private:
  ErrorHandler showError_;
  BlockedCheck blocked_;
};

}  // namespace tollwen
