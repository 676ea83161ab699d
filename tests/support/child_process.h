#pragma once

// Runs a piece of a test in a forked child process, for conditions that must not leak into the
// other tests: a lowered resource limit, a dropped identity, a private mount, or an operation
// that might hang.

#include <functional>
#include <string>

namespace tollwen::test {

// Runs `body` in a forked child and returns the text it returned, or "threw: <message>" when
// it threw. A child that does not finish normally (a crash, or still running after
// `timeoutSeconds`) gives "child died: <what it wrote>", so the test fails instead of hanging.
std::string RunInChild(const std::function<std::string()>& body, unsigned timeoutSeconds = 60);

// Drops the calling process to the unprivileged user "nobody" when it runs as the superuser,
// then proves that permission bits now apply: `readOnlyProbe` (a file of mode 0444 that the
// process can reach) must refuse to open for writing. Returns "" when that holds, otherwise
// why a permission test would be meaningless. Meant for a child of RunInChild.
std::string DropPrivileges(const std::string& readOnlyProbe);

// Copies the program `program` into `dir`, executable by everyone, and returns the copy's path.
// A child that has dropped its privileges may be unable to reach the build tree (a checkout in
// a home folder of mode 0700), so it runs the copy, placed in a folder it can reach.
std::string CopyProgramForAnyUser(const std::string& program, const std::string& dir);

// Writes all of `text` to `fd` (a pipe to the parent), as far as it can.
void WriteAllTo(int fd, const std::string& text);

// Reads `fd` (a pipe from a child) to its end.
std::string ReadAllFrom(int fd);

}  // namespace tollwen::test
