#include "report/datetext.h"

#include <gtest/gtest.h>

using namespace std::chrono;
using tamcal::ParseDateText;

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
        auto value = ParseDateText(c.text);
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
        EXPECT_FALSE(ParseDateText(text).has_value());
    }
}

TEST(DateText, WritesDisplayAndShortForms)
{
    EXPECT_EQ(tamcal::DisplayDate(2004y / July / 4), "07/04/2004");
    EXPECT_EQ(tamcal::ShortDateText(2004y / July / 4), "7/4/2004");
    EXPECT_EQ(tamcal::DisplayDate(2003y / December / 31), "12/31/2003");
    EXPECT_EQ(tamcal::ShortDateText(2003y / December / 31), "12/31/2003");
}
