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

// Gives up the power of root to ignore file permissions, so that they apply to
// this process as they do to a person's own programs. Meant for a child.
void dropPermissionOverride();

} // namespace tamcal::test
