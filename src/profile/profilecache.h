#pragma once

#include "profile/profilefile.h"
#include "profile/profiletext.h"
#include "profile/writeresult.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tamcal {

struct ProfileSnapshot
{
    bool isMissing = false;            // no such file; null text otherwise means unreadable
    const ProfileText *text = nullptr; // valid until the next call on the cache
    int error = 0;                     // why an unreadable file could not be read
};

// Parsed profiles by path. Each use checks the file's identity, so that a write
// by anyone, in place or by rename, is seen at once. A file changed so recently
// that a further change could keep its identity is compared byte for byte
// until its timestamps are safely in the past.
class ProfileCache
{
public:
    using Change = std::function<std::optional<std::string>(const ProfileText &)>;

    ProfileSnapshot load(const std::string &path);

    // Applies `change` to the current file under the profile's lock and stores
    // the result; a change that yields nothing leaves the file untouched.
    // Fails with the step and the reason when the file could not be read or written.
    WriteResult edit(const std::string &path, const Change &change);

private:
    struct Entry
    {
        std::string path;
        FileIdentity identity;
        timespec verifiedAt; // the file held these bytes at this time or later
        std::unique_ptr<ProfileText> text;

        bool isSettled() const;
    };

    WriteResult editLocked(const std::string &target, const Change &change);
    ProfileSnapshot reload(const std::string &path, Entry *entry);
    Entry *find(const std::string &path);
    Entry &store(const std::string &path, const FileIdentity &identity, timespec verifiedAt,
                 std::string bytes);
    void forget(const std::string &path);

    std::vector<Entry> m_entries; // least recently stored first
};

} // namespace tamcal
