#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace tamcal {

// A calendar date with a time of day, in local civil time, to the second.
struct DateValue
{
    std::chrono::sys_days day;
    std::chrono::seconds timeOfDay{0};
};

// The one date-text reader of the program: month/day/year with or without
// leading zeros and a four-digit year, optionally followed by a time of day
// ("10:00:00 PM", "22:00:00", "9:30 AM"). Blanks around the text are ignored.
std::optional<DateValue> ParseDateText(std::string_view text);

// "MM/DD/YYYY", the form in which windows hand days to one another.
std::string DisplayDate(std::chrono::year_month_day date);

// "M/D/YYYY", the short date text of a date, the same on every machine.
std::string ShortDateText(std::chrono::year_month_day date);

} // namespace tamcal
