#pragma once

#include <cerrno>
#include <functional>
#include <string>

namespace tollwen::testing {

// What happens to a child process at the system call it is stopped at.
enum class Interruption {
  kKill,  // killed (SIGKILL) before the call runs, as a crash or a power cut would stop it
  kFail,  // the call does not run and returns EIO, as a failing disk would answer
};

struct InterruptedRun {
  // The child reached the call (false: it finished with fewer calls, untouched).
  bool interrupted = false;
  // What `body` returned ("threw: <message>" when it threw); empty when the child was killed or
  // could not report.
  std::string report;
  // Why the run could not be made (ptrace not permitted, ...); empty when it was made.
  std::string skipReason;
};

// Where a run is interrupted.
struct CallToStop {
  int number = 1;        // the child's Nth system call (1-based, from the start of `body`) ...
  long systemCall = -1;  // ... counting only calls of this number (-1: every call)
  int error = EIO;       // what a failing call returns
};

// Runs `body` in a forked child traced with ptrace and interrupts it at the system call `stop`
// names. `prepare` runs in the child first, untraced (dropping privileges, say); it returns ""
// or why the run cannot be made.
InterruptedRun RunInterrupted(const std::function<std::string()>& prepare,
                              const std::function<std::string()>& body, const CallToStop& stop,
                              Interruption how);

// Empty when RunInterrupted can make the given interruption here, otherwise why not.
std::string InterruptionUnavailable(Interruption how);

}  // namespace tollwen::testing
