#pragma once

#include <QDate>

#include <ostream>

// Lets test failures show dates as 2004-02-29 rather than raw bytes.
inline void PrintTo(const QDate &date, std::ostream *os)
{
    *os << (date.isValid() ? date.toString(Qt::ISODate).toStdString() : "invalid date");
}
