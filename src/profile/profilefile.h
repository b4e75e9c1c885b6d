#pragma once

#include "profile/writeresult.h"

#include <sys/stat.h>

#include <ctime>
#include <optional>
#include <string>

namespace tamcal {

// What tells one version of a file from another without reading it. The change
// time is part of it: a rewrite in place that restores the modification time
// still moves the change time.
struct FileIdentity
{
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};

    static FileIdentity of(const struct stat &status);
    bool operator==(const FileIdentity &other) const;
};

enum class FileState { Present, Missing, Unreadable };

struct FileContent
{
    FileState state = FileState::Unreadable;
    int error = 0; // why an unreadable file could not be read
    FileIdentity identity;
    std::string bytes;
};

// The whole file; its identity is taken from the open file before reading.
FileContent readWholeFile(const std::string &path);

// The file that a write to `path` must replace: the target of a symbolic link,
// so that renaming over it keeps the link.
std::string replacementTarget(const std::string &path);

// 0 when the program may replace this file, else the reason. A file without any
// write permission is read-only for everyone, root included, as users expect.
int replaceError(const std::string &path, const struct stat &status);

// Puts `bytes` in place of the file at `path` so that a crash or a full disk at
// any point leaves either the old file or the new one, whole: a temporary file
// beside it, flushed, then renamed over it. `previous` is the status of the
// file replaced (its permissions and owner are kept), null for a new file.
// Returns the identity of the new file; nothing when nothing was changed, and
// then `failure` tells why.
std::optional<FileIdentity> replaceFile(const std::string &path, const std::string &bytes,
                                        const struct stat *previous, WriteFailure &failure);

timespec currentTime();

} // namespace tamcal
