#pragma once

#include "profile/inichange.h"
#include "profile/writeresult.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tamcal {

// The longest value IniAccess gives back: a 2000-byte buffer less its terminator.
inline constexpr std::size_t kIniValueLimit = 1999;

// Reads one key of a profile file. Returns the stored value, or `defaultValue`
// when the file, section or key is missing; cut to `maxLength` bytes.
std::string ReadIni(const std::string &section, const std::string &key,
                    const std::string &defaultValue, const std::string &file,
                    std::size_t maxLength = kIniValueLimit);

// The names of a section's keys in lower case, in no particular order; none
// when the file or the section is missing.
std::vector<std::string> ReadIniKeys(const std::string &section, const std::string &file);
// Every key of a section with its value in full, in no particular order; names in
// lower case. Empty when the file or the section is missing.
std::vector<std::pair<std::string, std::string>> ReadIniSection(const std::string &section,
                                                                const std::string &file);
// The value of the first key of the section, in file order, that `matches`;
// nothing when no key does or the file cannot be read.
std::optional<std::string> FindIniValue(const std::string &section,
                                        const std::function<bool(std::string_view)> &matches,
                                        const std::string &file);

// Reads the file into the profile cache ahead of its first use, so that the
// reads which follow find it read and indexed. May run on a thread of its own.
void PreloadIni(const std::string &file);

// Writes one key of a profile file; an absent value removes the key. Returns
// success when the file now holds what was asked, else the failed step and its
// reason. Never shows anything.
WriteResult WriteIni(const std::string &section, const std::string &key,
                     const std::optional<std::string> &value, const std::string &file);

// Writes several keys in one replacement of the file, under one lock: the file
// ends as writing each change in turn would leave it. When any entry could not
// be written as given, the whole batch is refused and the file stays as it was.
WriteResult WriteIniBatch(const std::vector<IniChange> &changes, const std::string &file);

// The one operation through which the program reads and writes its profile.
// An empty `file` means AppSettings.IniPath. A read returns the value or the
// default (at most kIniValueLimit bytes); a write returns empty text.
std::string IniAccess(const std::string &section, const std::string &key,
                      const std::optional<std::string> &value, bool write,
                      const std::string &file = {});

} // namespace tamcal
