#include "notes/notedays.h"

#include "notes/daynotes.h"
#include "profile/inifile.h"
#include "profile/settings.h"
#include "report/datetext.h"

#include <algorithm>
#include <optional>
#include <string>

namespace tamcal {

namespace {

std::optional<unsigned> digits(const std::string &text, std::size_t from, std::size_t count)
{
    unsigned value = 0;
    for (std::size_t i = from; i < from + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        value = value * 10 + unsigned(text[i] - '0');
    }
    return value;
}

} // namespace

std::optional<std::chrono::year_month_day> dayOfKey(const std::string &key)
{
    if (key.size() != 9 || (key.back() != 't' && key.back() != 'T'))
        return std::nullopt;
    const auto month = digits(key, 0, 2);
    const auto day = digits(key, 2, 2);
    const auto year = digits(key, 4, 4);
    if (!month || !day || !year)
        return std::nullopt;
    const std::chrono::year_month_day date{std::chrono::year(int(*year)),
                                           std::chrono::month(*month), std::chrono::day(*day)};
    return date.ok() ? std::optional(date) : std::nullopt;
}

std::vector<std::chrono::year_month_day> NotedDays()
{
    std::vector<std::chrono::year_month_day> days;
    for (const std::string &key : ReadIniKeys("Days", AppSettings.IniPath)) {
        const auto day = dayOfKey(key);
        if (day && DayHasNote(displayDateText(*day)))
            days.push_back(*day);
    }
    std::sort(days.begin(), days.end());
    return days;
}

} // namespace tamcal
