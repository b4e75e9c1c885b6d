#pragma once

#include <string>

namespace tamcal {

// An exclusive advisory lock on "<file>.lock", held while the object lives.
// The profile itself cannot carry the lock: every write renames a new file
// over it, and a lock on the old file would guard nothing.
class FileLock
{
public:
    explicit FileLock(const std::string &file);
    ~FileLock();
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

    bool isHeld() const { return m_descriptor >= 0; }

private:
    int m_descriptor = -1;
};

} // namespace tamcal
