#include "report/datetext.h"

#include <gtest/gtest.h>

using namespace std::chrono;
using tamcal::parseDateText;

TEST(ParseDateText, ReadsDatesAndTimesOfDay)
{
    struct Case
    {
        const char *name;
        const char *text;
        year_month_day day;
        int secondsOfDay;
    };
    const Case cases[] = {
        {"display date", "07/04/2004", 2004y / July / 4, 0},
        {"short date", "7/4/2004", 2004y / July / 4, 0},
        {"leap day", "2/29/2004", 2004y / February / 29, 0},
        {"zero date", "12/30/1899", 1899y / December / 30, 0},
        {"evening, 12-hour", "1/5/2003 10:00:00 PM", 2003y / January / 5, 22 * 3600},
        {"24-hour", "01/05/2003 22:00:00", 2003y / January / 5, 22 * 3600},
        {"midnight", "1/5/2003 12:00:00 AM", 2003y / January / 5, 0},
        {"noon, no seconds", "1/5/2003 12:30 pm", 2003y / January / 5, 12 * 3600 + 1800},
        {"blanks around", "  1/5/2003  ", 2003y / January / 5, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        auto value = parseDateText(c.text);
        ASSERT_TRUE(value.has_value());
        EXPECT_EQ(year_month_day(value->day), c.day);
        EXPECT_EQ(value->timeOfDay.count(), c.secondsOfDay);
    }
}

TEST(ParseDateText, RefusesWhatIsNoDate)
{
    for (const char *text : {"", "abc", "2/30/2003", "2/29/2003", "13/1/2003", "0/1/2003",
                             "1/0/2003", "1/5/03", "1/5/20033", "1-5-2003", "1/5/2003 25:00",
                             "1/5/2003 13:00 PM", "1/5/2003 x", "1/5/2003 10:61"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(parseDateText(text).has_value());
    }
}

TEST(DateText, WritesDisplayAndShortForms)
{
    EXPECT_EQ(tamcal::displayDateText(2004y / July / 4), "07/04/2004");
    EXPECT_EQ(tamcal::shortDateText(2004y / July / 4), "7/4/2004");
    EXPECT_EQ(tamcal::displayDateText(2003y / December / 31), "12/31/2003");
    EXPECT_EQ(tamcal::shortDateText(2003y / December / 31), "12/31/2003");
}

namespace {

tamcal::DateValue dateOf(const char *text)
{
    return *parseDateText(text);
}

} // namespace

TEST(DateText, WeekAndMonthBoundsAcrossMonthsYearsAndLeapYears)
{
    struct Case
    {
        const char *day;
        const char *weekStart;
        const char *firstOfMonth;
        const char *lastOfMonth;
    };
    const Case cases[] = {
        {"01/05/2003", "01/05/2003", "01/01/2003", "01/31/2003"}, // a Sunday
        {"02/01/2003", "01/26/2003", "02/01/2003", "02/28/2003"}, // a Saturday
        {"03/02/2010", "02/28/2010", "03/01/2010", "03/31/2010"},
        {"01/01/2004 11:59:59 PM", "12/28/2003", "01/01/2004", "01/31/2004"},
        {"02/14/2004", "02/08/2004", "02/01/2004", "02/29/2004"},
        {"2/14/2003", "02/09/2003", "02/01/2003", "02/28/2003"},
        {"2/14/1900", "02/11/1900", "02/01/1900", "02/28/1900"},
        {"2/14/2000", "02/13/2000", "02/01/2000", "02/29/2000"},
        {"12/05/2003", "11/30/2003", "12/01/2003", "12/31/2003"},
        {"04/30/2003", "04/27/2003", "04/01/2003", "04/30/2003"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.day);
        EXPECT_EQ(tamcal::WeekStartText(dateOf(c.day)), c.weekStart);
        EXPECT_EQ(tamcal::FirstOfMonthText(dateOf(c.day)), c.firstOfMonth);
        EXPECT_EQ(tamcal::LastOfMonthText(dateOf(c.day)), c.lastOfMonth);
    }
}

TEST(DateText, DayCountFollowsMidnightsAndTimeOfDay)
{
    struct Case
    {
        const char *name;
        const char *begin;
        const char *end;
        const char *count;
    };
    const Case cases[] = {
        {"same day", "01/05/2003", "01/05/2003", "0"},
        {"two days", "01/05/2003", "01/07/2003", "2"},
        {"backwards", "01/07/2003", "01/05/2003", "-2"},
        {"short and display forms", "1/5/2003", "01/07/2003", "2"},
        {"across a leap year end", "12/31/2003", "1/1/2005", "367"},
        {"end earlier in its day", "1/5/2003 10:00:00 PM", "1/6/2003 9:00:00 AM", "0"},
        {"end later in its day", "1/5/2003 10:00:00 PM", "1/6/2003 11:00:00 PM", "1"},
        {"one second short", "1/5/2003 10:00:00", "1/7/2003 9:59:59", "1"},
        {"minutes borrow", "1/5/2003 10:30:00", "1/7/2003 11:29:00", "2"},
        {"backwards, end earlier in its day", "1/7/2003 10:00 PM", "1/5/2003 9:00 AM", "-3"},
        {"begin no date", "someday", "01/07/2003", "0"},
        {"end no date", "01/05/2003", "2/30/2003", "0"},
        {"end blank but not empty", "01/05/2003", " ", "0"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::string end = c.end;
        EXPECT_EQ(tamcal::DayCountText(c.begin, end), c.count);
        EXPECT_EQ(end, c.end);
    }
}

TEST(DateText, EmptyEndMeansNowAndIsHandedBack)
{
    for (const char *empty : {"", "12/30/1899", "12/30/1899 00:00:00"}) {
        SCOPED_TRACE(empty);
        std::string end = empty;
        const std::string count = tamcal::DayCountText("01/01/2000", end);
        const auto now = parseDateText(end);
        ASSERT_TRUE(now.has_value());
        const auto expected = (now->day - sys_days(2000y / January / 1)).count();
        EXPECT_EQ(count, std::to_string(expected));
        EXPECT_GT(now->day, sys_days(2020y / January / 1));
    }
}

TEST(DateText, EmptyDateIsOnlyNothingOrTheZeroDate)
{
    for (const char *text : {"", "12/30/1899", "12/30/1899 12:00:00 AM", "12/30/1899 0:00"})
        EXPECT_TRUE(tamcal::IsEmptyDate(text)) << text;
    for (const char *text : {"12/30/1899 10:00", "12/31/1899", "01/05/2003", "abc", " "})
        EXPECT_FALSE(tamcal::IsEmptyDate(text)) << text;
}

TEST(DateText, EnglishNamesWhateverTheLocale)
{
    EXPECT_EQ(tamcal::englishMonthName(January), "January");
    EXPECT_EQ(tamcal::englishMonthName(September), "September");
    EXPECT_EQ(tamcal::englishMonthName(December), "December");
    EXPECT_EQ(tamcal::weekdayAbbreviation(Sunday), "SUN");
    EXPECT_EQ(tamcal::weekdayAbbreviation(Wednesday), "WED");
    EXPECT_EQ(tamcal::weekdayAbbreviation(Saturday), "SAT");
}
