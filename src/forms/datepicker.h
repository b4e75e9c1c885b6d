#pragma once

#include <QDateEdit>

// A date picker that takes a whole date typed in one go. The plain editor checks
// a typed day against the month and year it shows at that moment, so typing
// 02292004 over 12/16/2026 would give 02/28/2004; here the day typed is put back
// once the typed year makes it a real date.
class DatePicker : public QDateEdit
{
    Q_OBJECT

public:
    explicit DatePicker(QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    void noteDigit(Section section, int digit);
    void restoreTypedDay();

    int m_typedDay = 0;
    int m_dayDigits = 0;
    int m_yearDigits = 0;
};
