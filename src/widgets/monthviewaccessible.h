#pragma once

#include <QAccessibleWidget>
#include <QDate>

#include <map>

class MonthView;
class MonthTableAccessible;

// What assistive technology sees of a MonthView: the calendar holds one table per
// shown month (row by row), and each table 6 x 7 cells, one per day of its grid.
// A cell is named with the full date in English ("Thursday, December 10, 2026"),
// then ", has a note" for a bold day and ", today"; blank cells are invisible.
// Tables and cells follow the calendar as it scrolls: they name positions, not dates.
class MonthViewAccessible : public QAccessibleWidget
{
public:
    explicit MonthViewAccessible(MonthView *view);
    ~MonthViewAccessible() override;

    // Installs the factory that gives every MonthView this interface.
    static void installFactory();
    // The cell that shows `date` in the calendar `view`, or none when it is not drawn.
    static QAccessibleInterface *cellFor(MonthView *view, const QDate &date);
    // Tells assistive technology that `date` is now the current day of `view`:
    // selected, and focused too when `isFocusMove`.
    static void announceCurrentDay(MonthView *view, const QDate &date, bool isFocusMove);
    // Announcements go to QAccessible::updateAccessibility, which hands them on
    // only while assistive technology listens; a test may listen here instead.
    using Announcer = void (*)(QAccessibleEvent *event);
    static Announcer installAnnouncer(Announcer announcer);

    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QString text(QAccessible::Text t) const override;

    MonthView *monthView() const;

private:
    mutable std::map<int, MonthTableAccessible *> m_tables;
};
