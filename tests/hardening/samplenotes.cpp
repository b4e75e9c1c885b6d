#include "samplenotes.h"

#include <cstdio>

namespace tamcal::test {

namespace {
using namespace std::chrono;
constexpr sys_days kFirstDay{2000y / January / 1};
} // namespace

std::string sampleDayKey(int index)
{
    const year_month_day date{kFirstDay + days(index)};
    char key[16];
    std::snprintf(key, sizeof key, "%02u%02u%04dT", unsigned(date.month()), unsigned(date.day()),
                  int(date.year()));
    return key;
}

std::optional<int> sampleDayIndex(const std::string &key)
{
    unsigned month = 0, day = 0;
    int year = 0;
    char t = 0;
    if (key.size() != 9 || std::sscanf(key.c_str(), "%2u%2u%4d%c", &month, &day, &year, &t) != 4 ||
        t != 'T')
        return std::nullopt;
    const year_month_day date{std::chrono::year(year), std::chrono::month(month),
                              std::chrono::day(day)};
    if (!date.ok())
        return std::nullopt;
    return int((sys_days(date) - kFirstDay).count());
}

std::string sampleValue(int index, std::size_t length)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "%08X", unsigned(index));
    std::string value = prefix;
    for (std::size_t i = value.size(); i < length; ++i)
        value += digits[(std::size_t(index) + i) % 16];
    return value;
}

std::optional<std::map<std::string, std::string>> parseDaysProfile(const std::string &bytes)
{
    std::map<std::string, std::string> notes;
    bool sawSection = false;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t end = bytes.find('\n', pos);
        if (end == std::string::npos)
            end = bytes.size();
        std::string line = bytes.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!sawSection) {
            if (line != "[Days]")
                return std::nullopt;
            sawSection = true;
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos ||
            !notes.emplace(line.substr(0, equals), line.substr(equals + 1)).second)
            return std::nullopt;
    }
    return notes;
}

} // namespace tamcal::test
