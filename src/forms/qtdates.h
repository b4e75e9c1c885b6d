#pragma once

#include <QDate>

#include <chrono>
#include <string>

namespace tamcal {

struct DateValue;

// Bridges between the calendar controls' QDate and the core's date texts.

std::chrono::year_month_day civilDate(QDate date);
QDate qDate(std::chrono::year_month_day date);
// The date at midnight.
DateValue dateValueOf(QDate date);

// "MM/DD/YYYY", as windows hand days to one another.
std::string displayDateOf(QDate date);
// "M/D/YYYY", the text the day note store is asked about.
std::string shortDateOf(QDate date);
// The date a date text names; an invalid QDate when it names none.
QDate dateOfText(const std::string &text);

} // namespace tamcal
