#pragma once

#include <QDate>

// The six-week grid of one month, weeks starting on Sunday. Cells are numbered 0..41 row by
// row; the 1st of the month sits in row 0 at its weekday, so a month starting on Sunday has
// no leading days. dateForCell and cellForDate are exact inverses over the 42 cells.
namespace monthgrid {

inline constexpr int kWeekRows = 6;
inline constexpr int kWeekDays = 7;
inline constexpr int kCells = kWeekRows * kWeekDays;

// firstOfMonth must be the 1st of a month.
QDate dateForCell(const QDate &firstOfMonth, int cell);
// The cell holding date in firstOfMonth's grid, or -1 when the grid does not hold it.
int cellForDate(const QDate &firstOfMonth, const QDate &date);

// Whole months from the month of `from` to the month of `to` (negative when to is earlier).
int monthsBetween(const QDate &from, const QDate &to);
QDate firstOfMonth(const QDate &date);

} // namespace monthgrid
