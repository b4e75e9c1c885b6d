#include "profile/inifile.h"

#include "profile/asciitext.h"
#include "profile/profilecache.h"
#include "profile/profiletext.h"
#include "profile/settings.h"

#include <algorithm>
#include <cerrno>
#include <mutex>

namespace tamcal {

namespace {

// One cache for every profile of the process; the mutex also keeps a
// read-modify-write of one thread from interleaving with another thread's.
std::mutex cacheMutex;
ProfileCache &cache()
{
    static ProfileCache instance;
    return instance;
}

std::string cut(std::string text, std::size_t maxLength)
{
    if (text.size() > maxLength)
        text.resize(maxLength);
    return text;
}

} // namespace

std::string ReadIni(const std::string &section, const std::string &key,
                    const std::string &defaultValue, const std::string &file, std::size_t maxLength)
{
    std::optional<std::string_view> stored;
    std::lock_guard guard(cacheMutex);
    const ProfileSnapshot snapshot = cache().load(file);
    if (snapshot.text)
        stored = snapshot.text->value(section, key);
    if (!stored)
        return cut(std::string(trimTrailingBlanks(defaultValue)), maxLength);
    return cut(std::string(*stored), maxLength);
}

void PreloadIni(const std::string &file)
{
    std::lock_guard guard(cacheMutex);
    cache().load(file);
}

std::vector<std::string> ReadIniKeys(const std::string &section, const std::string &file)
{
    std::lock_guard guard(cacheMutex);
    const ProfileSnapshot snapshot = cache().load(file);
    return snapshot.text ? snapshot.text->keyNames(section) : std::vector<std::string>();
}

std::vector<std::pair<std::string, std::string>> ReadIniSection(const std::string &section,
                                                                const std::string &file)
{
    std::vector<std::pair<std::string, std::string>> entries;
    std::lock_guard guard(cacheMutex);
    const ProfileSnapshot snapshot = cache().load(file);
    if (!snapshot.text)
        return entries;
    for (std::string &key : snapshot.text->keyNames(section)) {
        std::string value(snapshot.text->value(section, key).value_or(std::string_view()));
        entries.emplace_back(std::move(key), std::move(value));
    }
    return entries;
}

std::optional<std::string> FindIniValue(const std::string &section,
                                        const std::function<bool(std::string_view)> &matches,
                                        const std::string &file)
{
    std::lock_guard guard(cacheMutex);
    const ProfileSnapshot snapshot = cache().load(file);
    if (!snapshot.text)
        return std::nullopt;
    const auto found = snapshot.text->firstValue(section, matches);
    return found ? std::optional<std::string>(*found) : std::nullopt;
}

WriteResult WriteIni(const std::string &section, const std::string &key,
                     const std::optional<std::string> &value, const std::string &file)
{
    if (file.empty() || !isWritableEntry(section, key, value))
        return WriteFailure{WriteStep::Entry, EINVAL, file, file};
    std::lock_guard guard(cacheMutex);
    return cache().edit(
        file, [&](const ProfileText &current) { return current.edited(section, key, value); });
}

WriteResult WriteIniBatch(const std::vector<IniChange> &changes, const std::string &file)
{
    const bool isWritable = std::all_of(changes.begin(), changes.end(), [](const IniChange &c) {
        return isWritableEntry(c.section, c.key, c.value);
    });
    if (file.empty() || !isWritable)
        return WriteFailure{WriteStep::Entry, EINVAL, file, file};
    std::lock_guard guard(cacheMutex);
    return cache().edit(file, [&](const ProfileText &current) { return current.edited(changes); });
}

std::string IniAccess(const std::string &section, const std::string &key,
                      const std::optional<std::string> &value, bool write, const std::string &file)
{
    const std::string &chosen = file.empty() ? AppSettings.IniPath : file;
    if (write) {
        WriteIni(section, key, value, chosen);
        return {};
    }
    return ReadIni(section, key, value.value_or(std::string()), chosen, kIniValueLimit);
}

} // namespace tamcal
