#include "forms/datepicker.h"

#include <QKeyEvent>

namespace {

constexpr int kDayDigits = 2;
constexpr int kYearDigits = 4;

} // namespace

DatePicker::DatePicker(QWidget *parent) : QDateEdit(parent)
{
    setCalendarPopup(true);
    setDisplayFormat("MM/dd/yyyy");
}

void DatePicker::keyPressEvent(QKeyEvent *event)
{
    const Section section = currentSection();
    const QString text = event->text();
    const bool isDigit = text.size() == 1 && text.front().isDigit();
    if (isDigit)
        noteDigit(section, text.front().digitValue());
    else
        m_yearDigits = 0;
    QDateEdit::keyPressEvent(event);
    if (m_yearDigits == kYearDigits)
        restoreTypedDay();
}

void DatePicker::focusInEvent(QFocusEvent *event)
{
    m_typedDay = 0;
    m_dayDigits = 0;
    m_yearDigits = 0;
    QDateEdit::focusInEvent(event);
}

void DatePicker::noteDigit(Section section, int digit)
{
    if (section == DaySection) {
        if (m_dayDigits == kDayDigits)
            m_typedDay = m_dayDigits = 0;
        m_typedDay = m_typedDay * 10 + digit;
        ++m_dayDigits;
    }
    m_yearDigits = section == YearSection ? m_yearDigits + 1 : 0;
}

void DatePicker::restoreTypedDay()
{
    const QDate shown = date();
    if (m_typedDay > 0 && shown.day() != m_typedDay &&
        QDate::isValid(shown.year(), shown.month(), m_typedDay))
        setDate(QDate(shown.year(), shown.month(), m_typedDay));
}
