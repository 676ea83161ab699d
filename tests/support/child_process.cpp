#include "support/child_process.h"

#include <fcntl.h>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <exception>
#include <filesystem>

namespace tollwen::test {

namespace {

constexpr uid_t kNobody = 65534;
constexpr gid_t kNoGroup = 65534;

}  // namespace

void WriteAllTo(int fd, const std::string& text) {
  const char* data = text.data();
  std::size_t left = text.size();
  while (left > 0) {
    const ssize_t written = ::write(fd, data, left);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;
    data += written;
    left -= static_cast<std::size_t>(written);
  }
}

std::string ReadAllFrom(int fd) {
  std::string text;
  char buffer[4096];
  for (;;) {
    const ssize_t count = ::read(fd, buffer, sizeof buffer);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return text;
    text.append(buffer, static_cast<std::size_t>(count));
  }
}

std::string RunInChild(const std::function<std::string()>& body, unsigned timeoutSeconds) {
  int fds[2];
  if (::pipe(fds) != 0) return "pipe failed";
  const pid_t child = ::fork();
  if (child < 0) {
    ::close(fds[0]);
    ::close(fds[1]);
    return "fork failed";
  }
  if (child == 0) {
    ::close(fds[0]);
    // The default action of SIGALRM ends the child.
    ::alarm(timeoutSeconds);
    std::string result;
    try {
      result = body();
    } catch (const std::exception& error) {
      result = std::string("threw: ") + error.what();
    } catch (...) {
      result = "threw something that is not an exception";
    }
    WriteAllTo(fds[1], result);
    // No destructors or exit handlers of the test process run twice.
    ::_exit(0);
  }
  ::close(fds[1]);
  const std::string result = ReadAllFrom(fds[0]);
  ::close(fds[0]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    const std::string how = WIFSIGNALED(status) ? "signal " + std::to_string(WTERMSIG(status))
                                                : "status " + std::to_string(WEXITSTATUS(status));
    return "child died (" + how + "): " + result;
  }
  return result;
}

std::string DropPrivileges(const std::string& readOnlyProbe) {
  if (::geteuid() == 0) {
    if (::setgroups(0, nullptr) != 0) return "setgroups failed";
    if (::setgid(kNoGroup) != 0) return "setgid failed";
    if (::setuid(kNobody) != 0) return "setuid failed";
  }
  const int fd = ::open(readOnlyProbe.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd >= 0) {
    ::close(fd);
    return "privileges were not dropped: a 0444 file opened for writing";
  }
  if (errno != EACCES) return std::string("the probe file could not be tried: ") + strerror(errno);
  return "";
}

std::string CopyProgramForAnyUser(const std::string& program, const std::string& dir) {
  namespace fs = std::filesystem;
  const fs::path copy = fs::path(dir) / fs::path(program).filename();
  fs::copy_file(program, copy, fs::copy_options::overwrite_existing);
  fs::permissions(copy, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                            fs::perms::others_read | fs::perms::others_exec);
  return copy.string();
}

}  // namespace tollwen::test
