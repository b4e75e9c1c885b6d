#include "widgets/monthgrid.h"

#include "support/printers.h"

#include <gtest/gtest.h>

using namespace monthgrid;

TEST(MonthGrid, PlacesKnownDates)
{
    struct Case
    {
        const char *name;
        QDate month;
        QDate date;
        int cell;
    };
    const Case cases[] = {
        {"month starting on Sunday has no leading days", {2004, 2, 1}, {2004, 2, 1}, 0},
        {"leap day", {2004, 2, 1}, {2004, 2, 29}, 28},
        {"trailing day after a leap day", {2004, 2, 1}, {2004, 3, 1}, 29},
        {"leading day across a year end", {2000, 1, 1}, {1999, 12, 26}, 0},
        {"1st on Saturday", {2000, 1, 1}, {2000, 1, 1}, 6},
        {"last cell across a year end", {2003, 12, 1}, {2004, 1, 10}, 41},
        {"day before the grid", {2003, 12, 1}, {2003, 11, 29}, -1},
        {"day after the grid", {2003, 12, 1}, {2004, 1, 11}, -1},
        {"1900 has no leap day", {1900, 2, 1}, {1900, 3, 1}, 32},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(cellForDate(c.month, c.date), c.cell);
        if (c.cell >= 0) {
            EXPECT_EQ(dateForCell(c.month, c.cell), c.date);
        }
    }
}

// Every cell and every day of every month from 1899 to 2101 (leap years, non-leap
// centuries, year ends): cell -> date -> cell and day -> cell -> day come back unchanged.
TEST(MonthGrid, CellAndDateRoundTrip)
{
    for (QDate month(1899, 1, 1); month.year() <= 2101; month = month.addMonths(1)) {
        SCOPED_TRACE(month.toString(Qt::ISODate).toStdString());
        for (int cell = 0; cell < kCells; ++cell)
            ASSERT_EQ(cellForDate(month, dateForCell(month, cell)), cell);
        for (int day = 1; day <= month.daysInMonth(); ++day) {
            const QDate date(month.year(), month.month(), day);
            const int cell = cellForDate(month, date);
            ASSERT_GE(cell, 0);
            ASSERT_EQ(dateForCell(month, cell), date);
        }
        EXPECT_EQ(dateForCell(month, 0).dayOfWeek(), Qt::Sunday);
        EXPECT_LT(cellForDate(month, month), kWeekDays);
    }
}

TEST(MonthGrid, CountsMonthsAcrossYears)
{
    EXPECT_EQ(monthsBetween({2003, 12, 31}, {2004, 1, 1}), 1);
    EXPECT_EQ(monthsBetween({2004, 1, 1}, {2003, 12, 31}), -1);
    EXPECT_EQ(monthsBetween({2004, 2, 29}, {2004, 2, 1}), 0);
    EXPECT_EQ(monthsBetween({1999, 3, 5}, {2001, 2, 5}), 23);
}
