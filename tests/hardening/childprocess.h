#pragma once

#include <functional>
#include <sys/types.h>

namespace tamcal::test {

// How a child process ended: its exit code, or the signal that ended it.
struct ChildEnd
{
    int exitCode = -1;
    int signal = 0;
};

// Forks a child that runs `body` and leaves with _exit(its result), so nothing
// of the test program (its output buffers, its exit handlers) runs twice.
pid_t startChild(const std::function<int()> &body);
ChildEnd waitChild(pid_t child);
ChildEnd runInChild(const std::function<int()> &body);

// In a child running as root: becomes the unprivileged user "nobody", so that
// file permissions apply to it as they do to a person's own programs.
void dropRootPrivileges();

} // namespace tamcal::test
