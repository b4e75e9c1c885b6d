// Faults that fuzzing found, each pinned where a reader sees it at once; the
// inputs themselves stay in the fuzz corpora as regression cases.
#include "report/datetext.h"

#include <gtest/gtest.h>

using namespace std::chrono;

TEST(FuzzFindings, ShortDateTextOfAnEarlyYearReadsBack)
{
    const year_month_day date = year(204) / February / 29;
    EXPECT_EQ(tamcal::shortDateText(date), "2/29/0204");
    const auto again = tamcal::parseDateText(tamcal::shortDateText(date));
    ASSERT_TRUE(again);
    EXPECT_EQ(again->day, sys_days(date));
}
