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
std::optional<DateValue> parseDateText(std::string_view text);

// "MM/DD/YYYY", the form in which windows hand days to one another.
std::string displayDateText(std::chrono::year_month_day date);

// "M/D/YYYY", the short date text of a date, the same on every machine.
std::string shortDateText(std::chrono::year_month_day date);

// "January" to "December", whatever the locale.
std::string englishMonthName(std::chrono::month month);

// "SUN" to "SAT", whatever the locale.
std::string weekdayAbbreviation(std::chrono::weekday weekday);

// Display date of the Sunday on or before the day; weeks run Sunday to Saturday.
std::string WeekStartText(const DateValue &date);

// Display date of the first day of the day's month.
std::string FirstOfMonthText(const DateValue &date);

// Display date of the last day of the day's month (29 in a leap February).
std::string LastOfMonthText(const DateValue &date);

// Whole days from begin to end in decimal: midnights passed, less one when the
// end's time of day is earlier than the begin's. "0" when either is no date.
// An empty end (see IsEmptyDate) means now, and `end` receives a text of now.
std::string DayCountText(const std::string &begin, std::string &end);

// Whether the text is empty or the zero date 12/30/1899 at midnight, the value
// of a date nobody set. A text that is no date is not empty.
bool IsEmptyDate(std::string_view text);

} // namespace tamcal
