#include "datetext.h"

#include "profile/asciitext.h"

#include <cstdio>
#include <ctime>

namespace tamcal {

namespace {

using namespace std::chrono;

// Reads 1 to maxDigits decimal digits at `pos`, advancing it.
std::optional<int> readNumber(std::string_view text, std::size_t &pos, std::size_t maxDigits)
{
    const std::size_t start = pos;
    int value = 0;
    while (pos < text.size() && pos - start < maxDigits && text[pos] >= '0' && text[pos] <= '9') {
        value = value * 10 + (text[pos] - '0');
        ++pos;
    }
    if (pos == start)
        return std::nullopt;
    return value;
}

void skipBlanks(std::string_view text, std::size_t &pos)
{
    while (pos < text.size() && isBlank(text[pos]))
        ++pos;
}

bool readChar(std::string_view text, std::size_t &pos, char wanted)
{
    if (pos < text.size() && text[pos] == wanted) {
        ++pos;
        return true;
    }
    return false;
}

// "AM" or "PM" in any letter case; 0 when neither stands at `pos`.
char readMeridiem(std::string_view text, std::size_t &pos)
{
    if (pos + 2 > text.size() || upperAscii(text[pos + 1]) != 'M')
        return 0;
    const char m = upperAscii(text[pos]);
    if (m != 'A' && m != 'P')
        return 0;
    pos += 2;
    return m;
}

std::optional<seconds> readTimeOfDay(std::string_view text, std::size_t &pos)
{
    auto hour = readNumber(text, pos, 2);
    if (!hour || !readChar(text, pos, ':'))
        return std::nullopt;
    auto minute = readNumber(text, pos, 2);
    if (!minute)
        return std::nullopt;
    int second = 0;
    if (readChar(text, pos, ':')) {
        auto s = readNumber(text, pos, 2);
        if (!s)
            return std::nullopt;
        second = *s;
    }
    skipBlanks(text, pos);
    const char meridiem = readMeridiem(text, pos);
    if (meridiem) {
        if (*hour < 1 || *hour > 12)
            return std::nullopt;
        *hour = *hour % 12 + (meridiem == 'P' ? 12 : 0);
    }
    if (*hour > 23 || *minute > 59 || second > 59)
        return std::nullopt;
    return hours(*hour) + minutes(*minute) + seconds(second);
}

// The zero date of the date type: 12/30/1899 at midnight.
constexpr sys_days kZeroDate{1899y / December / 30};

// Now, in local civil time, as a date text that reads back as the same moment.
std::string currentMomentText()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char time[16];
    std::snprintf(time, sizeof time, " %02d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec);
    const year_month_day date{year(local.tm_year + 1900), month(unsigned(local.tm_mon + 1)),
                              day(unsigned(local.tm_mday))};
    return shortDateText(date) + time;
}

} // namespace

std::optional<DateValue> parseDateText(std::string_view text)
{
    std::size_t pos = 0;
    skipBlanks(text, pos);
    auto m = readNumber(text, pos, 2);
    if (!m || !readChar(text, pos, '/'))
        return std::nullopt;
    auto d = readNumber(text, pos, 2);
    if (!d || !readChar(text, pos, '/'))
        return std::nullopt;
    const std::size_t yearStart = pos;
    auto y = readNumber(text, pos, 4);
    if (!y || pos - yearStart != 4)
        return std::nullopt;
    const year_month_day date{year(*y), month(unsigned(*m)), day(unsigned(*d))};
    if (!date.ok())
        return std::nullopt;
    DateValue result{sys_days(date)};
    skipBlanks(text, pos);
    if (pos < text.size()) {
        auto time = readTimeOfDay(text, pos);
        if (!time)
            return std::nullopt;
        result.timeOfDay = *time;
        skipBlanks(text, pos);
    }
    if (pos != text.size())
        return std::nullopt;
    return result;
}

std::string displayDateText(year_month_day date)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02u/%02u/%04d", unsigned(date.month()),
                  unsigned(date.day()), int(date.year()));
    return buffer;
}

std::string shortDateText(year_month_day date)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%u/%u/%04d", unsigned(date.month()), unsigned(date.day()),
                  int(date.year()));
    return buffer;
}

std::string englishMonthName(month month)
{
    static constexpr const char *names[] = {"January",   "February", "March",    "April",
                                            "May",       "June",     "July",     "August",
                                            "September", "October",  "November", "December"};
    return month.ok() ? names[unsigned(month) - 1] : "";
}

std::string weekdayAbbreviation(weekday weekday)
{
    static constexpr const char *names[] = {"SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT"};
    return weekday.ok() ? names[weekday.c_encoding()] : "";
}

std::string WeekStartText(const DateValue &date)
{
    const weekday wd{date.day};
    return displayDateText(date.day - days(wd.c_encoding()));
}

std::string FirstOfMonthText(const DateValue &date)
{
    const year_month_day ymd{date.day};
    return displayDateText(ymd.year() / ymd.month() / 1);
}

std::string LastOfMonthText(const DateValue &date)
{
    const year_month_day ymd{date.day};
    return displayDateText(year_month_day(ymd.year() / ymd.month() / last));
}

std::string DayCountText(const std::string &begin, std::string &end)
{
    if (IsEmptyDate(end))
        end = currentMomentText();
    const auto from = parseDateText(begin);
    const auto to = parseDateText(end);
    if (!from || !to)
        return "0";
    auto count = (to->day - from->day).count();
    if (to->timeOfDay < from->timeOfDay)
        --count;
    return std::to_string(count);
}

bool IsEmptyDate(std::string_view text)
{
    if (text.empty())
        return true;
    const auto value = parseDateText(text);
    return value && value->day == kZeroDate && value->timeOfDay == seconds(0);
}

} // namespace tamcal
