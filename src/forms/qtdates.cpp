#include "forms/qtdates.h"

#include "report/datetext.h"

namespace tamcal {

using namespace std::chrono;

year_month_day civilDate(QDate date)
{
    return year_month_day{year{date.year()}, month{static_cast<unsigned>(date.month())},
                          day{static_cast<unsigned>(date.day())}};
}

QDate qDate(year_month_day date)
{
    return {static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
            static_cast<int>(static_cast<unsigned>(date.day()))};
}

DateValue dateValueOf(QDate date)
{
    return DateValue{sys_days{civilDate(date)}};
}

std::string displayDateOf(QDate date)
{
    return displayDateText(civilDate(date));
}

std::string shortDateOf(QDate date)
{
    return shortDateText(civilDate(date));
}

QDate dateOfText(const std::string &text)
{
    const auto parsed = parseDateText(text);
    return parsed ? qDate(year_month_day{parsed->day}) : QDate();
}

} // namespace tamcal
