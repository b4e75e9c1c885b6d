// Arbitrary text through the date-text reader and the day count. A text it
// accepts must name a moment that the program's own date forms write back and
// read as the same day; a count is a plain number that runs the other way with
// the opposite sign.
//
// Input: the begin text, and after the first line feed the end text.
#include "report/datetext.h"

#include "fuzzcheck.h"

#include <cstddef>
#include <cstdint>

namespace {

using namespace std::chrono;
using tamcal::fuzz::check;

std::optional<sys_days> dayOf(const std::string &text)
{
    const auto value = tamcal::parseDateText(text);
    return value ? std::optional<sys_days>(value->day) : std::nullopt;
}

void checkWrittenFormsReadBack(const tamcal::DateValue &value)
{
    check(value.timeOfDay >= seconds(0) && value.timeOfDay < days(1), "time of day in range");
    const year_month_day date{value.day};
    for (const std::string &text : {tamcal::displayDateText(date), tamcal::shortDateText(date)}) {
        const auto again = tamcal::parseDateText(text);
        check(again && again->day == value.day && again->timeOfDay == seconds(0),
              "written date reads back: " + text);
    }
}

// The first days of year 0 have their week start in year -1, which no date
// text can name; every later day's week start reads back.
void checkMonthAndWeek(const tamcal::DateValue &value)
{
    const auto weekStart = dayOf(tamcal::WeekStartText(value));
    const bool isNameable = value.day - days(6) >= sys_days(year(0) / January / 1);
    check(!isNameable || (weekStart && weekday(*weekStart) == Sunday && *weekStart <= value.day &&
                          value.day - *weekStart < days(7)),
          "week start");
    const auto first = dayOf(tamcal::FirstOfMonthText(value));
    const auto last = dayOf(tamcal::LastOfMonthText(value));
    check(first && last && *first <= value.day && value.day <= *last &&
              year_month_day(*first).day() == day(1) &&
              year_month_day(*last + days(1)).day() == day(1) && *last - *first < days(31),
          "month bounds");
}

std::optional<long> number(const std::string &text)
{
    const std::string_view digits = std::string_view(text).substr(text.starts_with('-') ? 1 : 0);
    if (digits.empty() || digits.size() > 9 ||
        digits.find_first_not_of("0123456789") != std::string_view::npos ||
        (digits.size() > 1 && digits[0] == '0'))
        return std::nullopt;
    return std::stol(text);
}

void checkDayCount(const std::string &begin, const std::string &end)
{
    std::string endText = end;
    const auto count = number(tamcal::DayCountText(begin, endText));
    check(count.has_value(), "a day count is a plain number");
    if (tamcal::IsEmptyDate(end)) {
        check(tamcal::parseDateText(endText) && !tamcal::IsEmptyDate(endText),
              "an empty end becomes a date text of now");
        return;
    }
    check(endText == end, "an end that is a date, or no date, stays as it was");
    if (!tamcal::parseDateText(begin) || !tamcal::parseDateText(end)) {
        check(*count == 0, "no date gives 0");
        return;
    }
    if (tamcal::IsEmptyDate(begin))
        return;
    std::string beginText = begin;
    const auto back = number(tamcal::DayCountText(end, beginText));
    check(back && (*count + *back == 0 || *count + *back == -1), "counts both ways");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char *>(data), size);
    const std::size_t lineFeed = std::min(input.find('\n'), input.size());
    const std::string begin = input.substr(0, lineFeed);
    const std::string end = input.substr(std::min(lineFeed + 1, input.size()));
    if (const auto value = tamcal::parseDateText(begin)) {
        checkWrittenFormsReadBack(*value);
        checkMonthAndWeek(*value);
    }
    checkDayCount(begin, end);
    return 0;
}
