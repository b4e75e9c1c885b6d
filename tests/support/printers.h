#pragma once

#include <QDate>
#include <QRect>
#include <QSize>
#include <QString>

#include <ostream>

// Lets test failures show Qt values as text (dates as 2004-02-29) rather than
// raw bytes.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QDate &date, std::ostream *os)
{
    *os << (date.isValid() ? date.toString(Qt::ISODate).toStdString() : "invalid date");
}

inline void PrintTo(const QSize &size, std::ostream *os)
{
    *os << size.width() << " x " << size.height();
}

inline void PrintTo(const QRect &rect, std::ostream *os)
{
    *os << rect.x() << ", " << rect.y() << ", " << rect.width() << " x " << rect.height();
}
