#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace tollwen::bench {

// Sends standard output to /dev/null while it lives, so that a command run in the benchmark's
// process writes its report as it would to a file, without mixing it into the benchmark's own.
class SilencedStdout {
 public:
  SilencedStdout() : saved_(::dup(STDOUT_FILENO)) {
    std::fflush(stdout);
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    ::dup2(null, STDOUT_FILENO);
    ::close(null);
  }
  ~SilencedStdout() {
    std::fflush(stdout);
    ::dup2(saved_, STDOUT_FILENO);
    ::close(saved_);
  }
  SilencedStdout(const SilencedStdout&) = delete;
  SilencedStdout& operator=(const SilencedStdout&) = delete;

 private:
  int saved_;
};

}  // namespace tollwen::bench
