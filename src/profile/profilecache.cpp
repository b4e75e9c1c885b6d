#include "profile/profilecache.h"

#include "profile/filelock.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>

namespace tamcal {

namespace {

// Enough profiles for the program's one and a few more; tests use many.
constexpr std::size_t kMaxEntries = 8;

std::int64_t nanoseconds(const timespec &time)
{
    return std::int64_t(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

const ProfileText &textOf(const ProfileSnapshot &snapshot)
{
    static const ProfileText empty{std::string()};
    return snapshot.text ? *snapshot.text : empty;
}

// Fills `status` and `exists`; 0 when the file is missing or may be replaced,
// else why it may not.
int replaceCheck(const std::string &path, struct stat &status, bool &exists)
{
    exists = ::stat(path.c_str(), &status) == 0;
    if (!exists)
        return errno == ENOENT ? 0 : errno;
    return replaceError(path, status);
}

WriteResult unreadable(const std::string &path, const ProfileSnapshot &snapshot)
{
    return WriteFailure{WriteStep::Read, snapshot.error, path, path};
}

} // namespace

// File times come from a clock that may lag the real one by a timer tick, and
// some file systems keep whole seconds only (then the nanoseconds read zero).
// Once the verification is later than the change time by more than that, any
// further change must carry a different change time.
bool ProfileCache::Entry::isSettled() const
{
    const std::int64_t margin = identity.changed.tv_nsec == 0 ? 2'000'000'000 : 20'000'000;
    return nanoseconds(verifiedAt) - nanoseconds(identity.changed) > margin;
}

ProfileSnapshot ProfileCache::load(const std::string &path)
{
    struct stat status;
    if (::stat(path.c_str(), &status) != 0) {
        const int error = errno;
        forget(path);
        return {error == ENOENT || error == ENOTDIR, nullptr, error};
    }
    Entry *entry = find(path);
    if (entry && entry->identity == FileIdentity::of(status) && entry->isSettled())
        return {false, entry->text.get()};
    return reload(path, entry);
}

ProfileSnapshot ProfileCache::reload(const std::string &path, Entry *entry)
{
    const timespec readAt = currentTime();
    FileContent content = readWholeFile(path);
    if (content.state != FileState::Present) {
        forget(path);
        return {content.state == FileState::Missing, nullptr, content.error};
    }
    if (entry && entry->identity == content.identity && entry->text->bytes() == content.bytes) {
        entry->verifiedAt = readAt;
        return {false, entry->text.get()};
    }
    return {false, store(path, content.identity, readAt, std::move(content.bytes)).text.get()};
}

WriteResult ProfileCache::edit(const std::string &path, const Change &change)
{
    const std::string target = replacementTarget(path);
    const ProfileSnapshot before = load(target);
    if (!before.text && !before.isMissing)
        return unreadable(target, before);
    // Nothing to do, such as removing a key that is not there: no lock, and
    // nothing is created.
    if (!change(textOf(before)))
        return {};
    // A write bound to fail leaves no lock file behind either.
    struct stat status;
    bool exists = false;
    if (const int error = replaceCheck(target, status, exists))
        return WriteFailure{WriteStep::Access, error, target, target};
    const FileLock lock(target);
    if (!lock.isHeld())
        return WriteFailure{WriteStep::Lock, lock.error(), target, lock.path()};
    return editLocked(target, change);
}

// Under the lock the file is looked at afresh: another copy of the program
// may have written it since.
WriteResult ProfileCache::editLocked(const std::string &target, const Change &change)
{
    struct stat status;
    bool exists = false;
    if (const int error = replaceCheck(target, status, exists))
        return WriteFailure{WriteStep::Access, error, target, target};
    const ProfileSnapshot current = load(target);
    if (!current.text && !current.isMissing)
        return unreadable(target, current);
    std::optional<std::string> bytes = change(textOf(current));
    if (!bytes)
        return {};
    const timespec writtenAt = currentTime();
    WriteFailure failure;
    const auto identity =
        replaceFile(target, *bytes, exists && current.text ? &status : nullptr, failure);
    if (!identity)
        return failure;
    store(target, *identity, writtenAt, std::move(*bytes));
    return {};
}

ProfileCache::Entry *ProfileCache::find(const std::string &path)
{
    const auto found = std::find_if(m_entries.begin(), m_entries.end(),
                                    [&](const Entry &entry) { return entry.path == path; });
    return found == m_entries.end() ? nullptr : &*found;
}

ProfileCache::Entry &ProfileCache::store(const std::string &path, const FileIdentity &identity,
                                         timespec verifiedAt, std::string bytes)
{
    forget(path);
    if (m_entries.size() >= kMaxEntries)
        m_entries.erase(m_entries.begin());
    auto text = std::make_unique<ProfileText>(std::move(bytes));
    return m_entries.emplace_back(Entry{path, identity, verifiedAt, std::move(text)});
}

void ProfileCache::forget(const std::string &path)
{
    std::erase_if(m_entries, [&](const Entry &entry) { return entry.path == path; });
}

} // namespace tamcal
