#pragma once

#include <chrono>
#include <string>

namespace tamcal {

// How long a write waits for another copy of the program to finish its own.
inline constexpr std::chrono::milliseconds kLockWait{5000};

// An exclusive advisory lock on "<file>.lock", held while the object lives.
// The profile itself cannot carry the lock: every write renames a new file
// over it, and a lock on the old file would guard nothing. Waits at most
// `wait` for a holder to let go, so a stuck copy never freezes this one.
class FileLock
{
public:
    explicit FileLock(const std::string &file, std::chrono::milliseconds wait = kLockWait);
    ~FileLock();
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

    bool isHeld() const { return m_descriptor >= 0; }
    // Why the lock is not held: the system's error number, EWOULDBLOCK when
    // another holder kept it for the whole wait.
    int error() const { return m_error; }
    const std::string &path() const { return m_path; }

private:
    std::string m_path;
    int m_descriptor = -1;
    int m_error = 0;
};

} // namespace tamcal
