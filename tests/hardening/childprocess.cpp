#include "childprocess.h"

#include <cstdlib>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace tamcal::test {

namespace {
constexpr uid_t kNobody = 65534;
}

pid_t startChild(const std::function<int()> &body)
{
    const pid_t child = fork();
    if (child < 0)
        throw std::runtime_error("fork failed");
    if (child == 0)
        _exit(body());
    return child;
}

ChildEnd waitChild(pid_t child)
{
    int status = 0;
    if (waitpid(child, &status, 0) != child)
        throw std::runtime_error("waitpid failed");
    ChildEnd end;
    if (WIFEXITED(status))
        end.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        end.signal = WTERMSIG(status);
    return end;
}

ChildEnd runInChild(const std::function<int()> &body)
{
    return waitChild(startChild(body));
}

void dropRootPrivileges()
{
    if (geteuid() != 0)
        return;
    if (setgid(kNobody) != 0 || setuid(kNobody) != 0)
        _exit(125);
}

} // namespace tamcal::test
