#include "system_call_stop.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/ptrace.h>
#include <sys/user.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <exception>

#include "support/child_process.h"

namespace tollwen::testing {

namespace {

constexpr int kNoPtraceStatus = 3;
constexpr int kNotPreparedStatus = 4;

using test::ReadAllFrom;
using test::WriteAllTo;

[[noreturn]] void RunChild(int reportFd, const std::function<std::string()>& prepare,
                           const std::function<std::string()>& body) {
  ::prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (::ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0) {
    WriteAllTo(reportFd, std::string("ptrace is not permitted here: ") + std::strerror(errno));
    ::_exit(kNoPtraceStatus);
  }
  if (std::string problem = prepare(); !problem.empty()) {
    WriteAllTo(reportFd, problem);
    ::_exit(kNotPreparedStatus);
  }
  // The tracer takes over here; the calls of `body` are counted from this stop on.
  ::raise(SIGSTOP);
  std::string result;
  try {
    result = body();
  } catch (const std::exception& error) {
    result = std::string("threw: ") + error.what();
  }
  WriteAllTo(reportFd, result);
  ::_exit(0);
}

// The number of the system call the child is stopped at, or -1 when it cannot be told.
long SystemCallOf(pid_t child) {
#if defined(__x86_64__)
  user_regs_struct registers{};
  if (::ptrace(PTRACE_GETREGS, child, nullptr, &registers) != 0) return -1;
  return static_cast<long>(registers.orig_rax);
#else
  (void)child;
  return -1;
#endif
}

// Makes the system call the child is stopped at (its entry) not run and return `error`.
bool FailCall(pid_t child, int error) {
#if defined(__x86_64__)
  user_regs_struct registers{};
  if (::ptrace(PTRACE_GETREGS, child, nullptr, &registers) != 0) return false;
  registers.orig_rax = static_cast<unsigned long long>(-1);  // no such call: nothing runs
  if (::ptrace(PTRACE_SETREGS, child, nullptr, &registers) != 0) return false;
  int status = 0;
  if (::ptrace(PTRACE_SYSCALL, child, nullptr, nullptr) != 0) return false;
  if (::waitpid(child, &status, 0) != child || !WIFSTOPPED(status)) return false;
  if (::ptrace(PTRACE_GETREGS, child, nullptr, &registers) != 0) return false;
  registers.rax = static_cast<unsigned long long>(-error);
  return ::ptrace(PTRACE_SETREGS, child, nullptr, &registers) == 0;
#else
  (void)child;
  (void)error;
  return false;
#endif
}

}  // namespace

std::string InterruptionUnavailable(Interruption how) {
#if defined(__x86_64__)
  (void)how;
  return {};
#else
  return how == Interruption::kFail ? "failing a system call is only made on x86-64" : "";
#endif
}

InterruptedRun RunInterrupted(const std::function<std::string()>& prepare,
                              const std::function<std::string()>& body, const CallToStop& stop,
                              Interruption how) {
  InterruptedRun run;
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) {
    run.skipReason = "pipe failed";
    return run;
  }
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(fds[0]);
    RunChild(fds[1], prepare, body);
  }
  ::close(fds[1]);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (!WIFSTOPPED(status)) {
    run.skipReason = ReadAllFrom(fds[0]);
    if (run.skipReason.empty()) run.skipReason = "the traced child did not start";
    ::close(fds[0]);
    return run;
  }
  ::ptrace(PTRACE_SETOPTIONS, child, nullptr, PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL);

  int calls = 0;
  bool atEntry = true;
  int signal = 0;
  bool ended = false;
  for (;;) {
    if (::ptrace(PTRACE_SYSCALL, child, nullptr, signal) != 0) break;
    signal = 0;
    if (::waitpid(child, &status, 0) != child || WIFEXITED(status) || WIFSIGNALED(status)) {
      ended = true;
      break;
    }
    if (WSTOPSIG(status) != (SIGTRAP | 0x80)) {
      signal = WSTOPSIG(status);  // a signal of the child's own, delivered as it comes
      continue;
    }
    const bool entry = atEntry;
    atEntry = !atEntry;
    if (!entry || (stop.systemCall >= 0 && SystemCallOf(child) != stop.systemCall)) continue;
    if (++calls < stop.number) continue;
    run.interrupted = true;
    if (how == Interruption::kKill || !FailCall(child, stop.error)) {
      ::kill(child, SIGKILL);
    } else {
      ::ptrace(PTRACE_DETACH, child, nullptr, nullptr);
    }
    break;
  }
  while (!ended && ::waitpid(child, &status, 0) == child && !WIFEXITED(status) &&
         !WIFSIGNALED(status)) {
  }
  run.report = ReadAllFrom(fds[0]);
  ::close(fds[0]);
  if (how == Interruption::kKill && run.interrupted) run.report.clear();
  return run;
}

}  // namespace tollwen::testing
