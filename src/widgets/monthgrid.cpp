#include "widgets/monthgrid.h"

namespace monthgrid {

namespace {

// Cells before the 1st: Qt numbers Monday 1 .. Sunday 7, and Sunday opens the week.
int leadingCells(const QDate &firstOfMonth)
{
    return firstOfMonth.dayOfWeek() % kWeekDays;
}

} // namespace

QDate dateForCell(const QDate &firstOfMonth, int cell)
{
    return firstOfMonth.addDays(cell - leadingCells(firstOfMonth));
}

int cellForDate(const QDate &firstOfMonth, const QDate &date)
{
    const qint64 cell = firstOfMonth.daysTo(date) + leadingCells(firstOfMonth);
    return (cell >= 0 && cell < kCells) ? int(cell) : -1;
}

int monthsBetween(const QDate &from, const QDate &to)
{
    return (to.year() - from.year()) * 12 + to.month() - from.month();
}

QDate firstOfMonth(const QDate &date)
{
    return QDate(date.year(), date.month(), 1);
}

} // namespace monthgrid
