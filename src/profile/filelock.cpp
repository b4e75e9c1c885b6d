#include "profile/filelock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace tamcal {

namespace {

// How often a held lock is tried again while waiting.
constexpr std::chrono::milliseconds kRetryEvery{20};

// 0 once the lock is taken, else the error that ended the wait.
int lockWithin(int descriptor, std::chrono::milliseconds wait)
{
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        if (::flock(descriptor, LOCK_EX | LOCK_NB) == 0)
            return 0;
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline)
            return errno;
        std::this_thread::sleep_for(kRetryEvery);
    }
}

} // namespace

FileLock::FileLock(const std::string &file, std::chrono::milliseconds wait) : m_path(file + ".lock")
{
    const int descriptor = ::open(m_path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0666);
    if (descriptor < 0) {
        m_error = errno;
        return;
    }
    m_error = lockWithin(descriptor, wait);
    if (m_error == 0)
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
