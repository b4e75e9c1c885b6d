#pragma once

#include <QDate>
#include <QSet>
#include <QWidget>

// A calendar that shows MonthRows x MonthColumns months side by side, each
// with its title and weekday header, weeks starting on Sunday. Bold marks are
// kept per date, so they survive scrolling. The widget sizes itself to its
// months (sizeHint from font metrics) whenever the layout changes.
class MonthView : public QWidget
{
    Q_OBJECT

public:
    explicit MonthView(QWidget *parent = nullptr);

    // The current date. Setting a date outside the shown months scrolls to it.
    QDate Value() const;
    void setValue(const QDate &vNewValue);
    int Month() const;
    int Year() const;

    // VisibleDays(1) is the first date in the grid: a leading day of the month
    // before the first shown month when that month does not start on Sunday.
    QDate VisibleDays(int index) const;

    int MonthRows() const;
    int MonthColumns() const;
    // Both reject 0 and layouts of more than 12 months, keeping the old value.
    bool setMonthRows(int vNewValue);
    bool setMonthColumns(int vNewValue);

    bool DayBold(const QDate &date) const;
    // Fails (returns false, changes nothing) for a date that is not shown.
    bool setDayBold(const QDate &date, bool vNewValue);

    QDate SelStart() const;
    QDate SelEnd() const;
    void setSelection(const QDate &selStart, const QDate &selEnd);

    // The first day of the first month and the last day of the last month shown.
    QDate firstShownMonth() const;
    QDate lastShownMonth() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void DateClick(const QDate &date);
    void DateDblClick(const QDate &date);
    void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    // The shown months changed (scrolling, Value, layout): newly shown months
    // need their bold marks.
    void shownMonthsChanged();
    void selectionChanged();
};
