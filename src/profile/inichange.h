#pragma once

#include <optional>
#include <string>

namespace tamcal {

// One key of a batch written to a profile: the value to store, or none to
// remove the key.
struct IniChange
{
    std::string section;
    std::string key;
    std::optional<std::string> value;
};

} // namespace tamcal
