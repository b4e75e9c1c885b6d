#include "support/childprocess.h"

#include <cstdlib>
#include <linux/capability.h>
#include <stdexcept>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tamcal::test {

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

void dropPermissionOverride()
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3]{};
    if (syscall(SYS_capget, &header, data) != 0)
        _exit(125);
    for (int capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER})
        data[CAP_TO_INDEX(capability)].effective &= ~CAP_TO_MASK(capability);
    if (syscall(SYS_capset, &header, data) != 0)
        _exit(125);
}

} // namespace tamcal::test
