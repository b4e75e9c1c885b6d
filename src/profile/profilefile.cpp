#include "profile/profilefile.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace tamcal {

namespace {

bool operator==(const timespec &a, const timespec &b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

bool isMissingError(int error)
{
    return error == ENOENT || error == ENOTDIR;
}

// Reads to the end of the file, even past the size it had when opened.
bool readAll(int descriptor, std::string &bytes)
{
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size())
            bytes.resize(bytes.size() + 65536);
        const ssize_t count = ::read(descriptor, bytes.data() + filled, bytes.size() - filled);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return false;
        if (count == 0)
            break;
        filled += static_cast<std::size_t>(count);
    }
    bytes.resize(filled);
    return true;
}

bool writeAll(int descriptor, const std::string &bytes)
{
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t count = ::write(descriptor, bytes.data() + written, bytes.size() - written);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0) {
            if (count == 0)
                errno = ENOSPC;
            return false;
        }
        written += static_cast<std::size_t>(count);
    }
    return true;
}

std::string folderOf(const std::string &path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A new temporary file beside `path`; created with mode 0666 so that the
// process's umask gives a new profile the permissions any new file gets.
int createTemporary(const std::string &path, std::string &name)
{
    static std::atomic<unsigned> counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = path + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        const int descriptor = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor >= 0 || errno != EEXIST)
            return descriptor;
    }
    return -1;
}

bool keepPermissions(int descriptor, const struct stat &previous)
{
    if (previous.st_uid != ::geteuid() || previous.st_gid != ::getegid()) {
        // Only root may give a file away; anyone else keeps what they can.
        [[maybe_unused]] const int ignored = ::fchown(descriptor, previous.st_uid, previous.st_gid);
    }
    return ::fchmod(descriptor, previous.st_mode & 07777) == 0;
}

// Makes the rename itself durable; the old or the new file is whole either way.
void syncFolder(const std::string &path)
{
    const int folder = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return;
    ::fsync(folder);
    ::close(folder);
}

// The step that failed, with errno still telling why; nothing when all went well.
std::optional<WriteStep> fillTemporary(int descriptor, const std::string &bytes,
                                       const struct stat *previous)
{
    if ((previous && !keepPermissions(descriptor, *previous)) || !writeAll(descriptor, bytes))
        return WriteStep::Write;
    if (::fsync(descriptor) != 0)
        return WriteStep::Flush;
    return std::nullopt;
}

} // namespace

FileIdentity FileIdentity::of(const struct stat &status)
{
    return {status.st_dev, status.st_ino, status.st_size, status.st_mtim, status.st_ctim};
}

bool FileIdentity::operator==(const FileIdentity &other) const
{
    return device == other.device && inode == other.inode && size == other.size &&
           modified == other.modified && changed == other.changed;
}

FileContent readWholeFile(const std::string &path)
{
    FileContent content;
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        content.state = isMissingError(errno) ? FileState::Missing : FileState::Unreadable;
        content.error = errno;
        return content;
    }
    struct stat status;
    if (::fstat(descriptor, &status) != 0) {
        content.error = errno;
    } else if (!S_ISREG(status.st_mode)) {
        content.error = S_ISDIR(status.st_mode) ? EISDIR : EINVAL;
    } else {
        content.identity = FileIdentity::of(status);
        // One byte more than the file holds, so that the read which finds its
        // end needn't grow (and copy) a buffer the size of the whole profile.
        content.bytes.resize(static_cast<std::size_t>(status.st_size) + 1);
        if (readAll(descriptor, content.bytes))
            content.state = FileState::Present;
        else
            content.error = errno;
    }
    ::close(descriptor);
    return content;
}

std::string replacementTarget(const std::string &path)
{
    struct stat status;
    if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
        return path;
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

int replaceError(const std::string &path, const struct stat &status)
{
    if (!S_ISREG(status.st_mode))
        return S_ISDIR(status.st_mode) ? EISDIR : EINVAL;
    if ((status.st_mode & 0222) == 0)
        return EACCES;
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0 ? 0 : errno;
}

std::optional<FileIdentity> replaceFile(const std::string &path, const std::string &bytes,
                                        const struct stat *previous, WriteFailure &failure)
{
    std::string temporary;
    const int descriptor = createTemporary(path, temporary);
    if (descriptor < 0) {
        failure = {WriteStep::Temporary, errno, path, temporary};
        return std::nullopt;
    }
    std::optional<WriteStep> failedStep = fillTemporary(descriptor, bytes, previous);
    if (!failedStep && ::rename(temporary.c_str(), path.c_str()) != 0)
        failedStep = WriteStep::Rename;
    if (failedStep) {
        failure = {*failedStep, errno, path, temporary};
        ::unlink(temporary.c_str());
        ::close(descriptor);
        return std::nullopt;
    }
    syncFolder(path);
    // Taken after the rename, which moves the change time of the new file.
    struct stat status;
    const bool known = ::fstat(descriptor, &status) == 0;
    ::close(descriptor);
    return known ? std::optional(FileIdentity::of(status)) : std::optional(FileIdentity());
}

timespec currentTime()
{
    timespec now;
    ::clock_gettime(CLOCK_REALTIME, &now);
    return now;
}

} // namespace tamcal
