#include "profile/filelock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace tamcal {

FileLock::FileLock(const std::string &file)
{
    const std::string lockPath = file + ".lock";
    const int descriptor = ::open(lockPath.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0666);
    if (descriptor < 0)
        return;
    int result;
    do {
        result = ::flock(descriptor, LOCK_EX);
    } while (result != 0 && errno == EINTR);
    if (result == 0)
        m_descriptor = descriptor;
    else
        ::close(descriptor);
}

FileLock::~FileLock()
{
    if (m_descriptor >= 0)
        ::close(m_descriptor);
}

} // namespace tamcal
