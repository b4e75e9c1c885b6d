#include "widgets/monthviewaccessible.h"

#include "widgets/monthgrid.h"
#include "widgets/monthview.h"

#include <QLocale>
#include <QPointer>

#include <array>
#include <utility>

using monthgrid::kCells;
using monthgrid::kWeekDays;
using monthgrid::kWeekRows;

namespace {

// English whatever the locale, like every other date text of the program.
QLocale english()
{
    return QLocale(QLocale::English, QLocale::UnitedStates);
}

QString dayName(const MonthView &view, const QDate &date)
{
    QString name = english().toString(date, QStringLiteral("dddd, MMMM d, yyyy"));
    if (view.DayBold(date))
        name += QStringLiteral(", has a note");
    if (date == QDate::currentDate())
        name += QStringLiteral(", today");
    return name;
}

QRect onScreen(const MonthView &view, const QRect &rect)
{
    return rect.isEmpty() ? QRect() : QRect(view.mapToGlobal(rect.topLeft()), rect.size());
}

} // namespace

// One cell of a month table: the date in it is read from the calendar each time.
class DayCellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface
{
public:
    DayCellAccessible(QAccessibleInterface *table, MonthView *view, int month, int cell)
        : m_table(table), m_view(view), m_month(month), m_cell(cell)
    {
    }

    QDate date() const { return m_view->dateInCell(m_month, m_cell); }

    bool isValid() const override { return !m_view.isNull(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_table->window(); }
    QAccessibleInterface *parent() const override { return m_table; }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QRect rect() const override { return onScreen(*m_view, m_view->dayRect(date())); }
    void setText(QAccessible::Text, const QString &) override {}

    QString text(QAccessible::Text t) const override
    {
        const QDate day = date();
        return t == QAccessible::Name && day.isValid() ? dayName(*m_view, day) : QString();
    }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        const QDate day = date();
        if (!day.isValid()) {
            state.invisible = true;
            return state;
        }
        state.selectable = true;
        state.focusable = true;
        state.selected = day >= m_view->SelStart() && day <= m_view->SelEnd();
        state.focused = day == m_view->Value() && m_view->hasFocus();
        return state;
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TableCellInterface
                   ? static_cast<QAccessibleTableCellInterface *>(this)
                   : nullptr;
    }

    bool isSelected() const override { return state().selected; }
    QList<QAccessibleInterface *> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface *> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return m_cell % kWeekDays; }
    int rowIndex() const override { return m_cell / kWeekDays; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface *table() const override { return m_table; }

private:
    QAccessibleInterface *m_table;
    QPointer<MonthView> m_view;
    int m_month;
    int m_cell;
};

// One shown month: a table of 6 weeks of 7 days, named like its title.
class MonthTableAccessible : public QAccessibleInterface, public QAccessibleTableInterface
{
public:
    MonthTableAccessible(MonthViewAccessible *calendar, int month)
        : m_calendar(calendar), m_month(month)
    {
    }

    ~MonthTableAccessible() override
    {
        for (DayCellAccessible *cell : m_cells) {
            if (cell)
                QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(cell));
        }
    }

    MonthView *view() const { return m_calendar->monthView(); }
    QDate month() const { return view()->firstShownMonth().addMonths(m_month); }

    DayCellAccessible *cell(int index) const
    {
        if (index < 0 || index >= kCells)
            return nullptr;
        auto &cell = m_cells[static_cast<std::size_t>(index)];
        if (!cell) {
            cell = new DayCellAccessible(const_cast<MonthTableAccessible *>(this), view(), m_month,
                                         index);
            QAccessible::registerAccessibleInterface(cell);
        }
        return cell;
    }

    bool isValid() const override { return view() != nullptr; }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_calendar->window(); }
    QAccessibleInterface *parent() const override { return m_calendar; }
    QAccessibleInterface *child(int index) const override { return cell(index); }
    int childCount() const override { return kCells; }
    QAccessible::Role role() const override { return QAccessible::Table; }
    QRect rect() const override { return onScreen(*view(), view()->monthRect(m_month)); }
    void setText(QAccessible::Text, const QString &) override {}
    QAccessible::State state() const override { return {}; }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        for (int index = 0; index < kCells; ++index) {
            if (m_cells[static_cast<std::size_t>(index)] == child)
                return index;
        }
        return -1;
    }

    QAccessibleInterface *childAt(int x, int y) const override
    {
        const QDate date = view()->dateAt(view()->mapFromGlobal(QPoint(x, y)));
        return date.isValid() ? cellAt(date) : nullptr;
    }

    QAccessibleInterface *cellAt(const QDate &date) const
    {
        for (int index = 0; index < kCells; ++index) {
            if (view()->dateInCell(m_month, index) == date)
                return cell(index);
        }
        return nullptr;
    }

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? english().toString(month(), QStringLiteral("MMMM yyyy"))
                                      : QString();
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TableInterface ? static_cast<QAccessibleTableInterface *>(this)
                                                   : nullptr;
    }

    QAccessibleInterface *caption() const override { return nullptr; }
    QAccessibleInterface *summary() const override { return nullptr; }
    QAccessibleInterface *cellAt(int row, int column) const override
    {
        return column < 0 || column >= kWeekDays ? nullptr : cell(row * kWeekDays + column);
    }
    int columnCount() const override { return kWeekDays; }
    int rowCount() const override { return kWeekRows; }
    QString columnDescription(int column) const override
    {
        return english().dayName(column == 0 ? 7 : column);
    }
    QString rowDescription(int) const override { return {}; }

    int selectedCellCount() const override { return selectedCells().size(); }
    QList<QAccessibleInterface *> selectedCells() const override
    {
        QList<QAccessibleInterface *> selected;
        for (int index = 0; index < kCells; ++index) {
            if (cell(index)->isSelected())
                selected.append(cell(index));
        }
        return selected;
    }
    // Days are selected as a range of dates, never by whole rows or columns.
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent *) override {}

private:
    MonthViewAccessible *m_calendar;
    int m_month;
    mutable std::array<DayCellAccessible *, kCells> m_cells{};
};

MonthViewAccessible::MonthViewAccessible(MonthView *view)
    : QAccessibleWidget(view, QAccessible::Client)
{
}

MonthViewAccessible::~MonthViewAccessible()
{
    for (const auto &[index, table] : m_tables)
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(table));
}

void MonthViewAccessible::installFactory()
{
    static const bool installed = [] {
        QAccessible::installFactory([](const QString &, QObject *object) {
            auto *view = qobject_cast<MonthView *>(object);
            return view ? static_cast<QAccessibleInterface *>(new MonthViewAccessible(view))
                        : nullptr;
        });
        return true;
    }();
    Q_UNUSED(installed);
}

QAccessibleInterface *MonthViewAccessible::cellFor(MonthView *view, const QDate &date)
{
    auto *calendar =
        static_cast<MonthViewAccessible *>(QAccessible::queryAccessibleInterface(view));
    if (!calendar)
        return nullptr;
    for (int index = 0; index < calendar->childCount(); ++index) {
        auto *table = static_cast<MonthTableAccessible *>(calendar->child(index));
        if (QAccessibleInterface *cell = table->cellAt(date))
            return cell;
    }
    return nullptr;
}

namespace {

MonthViewAccessible::Announcer announcer = nullptr;

void announce(QAccessibleInterface *cell, QAccessible::Event type)
{
    QAccessibleEvent event(cell, type);
    if (announcer)
        announcer(&event);
    else
        QAccessible::updateAccessibility(&event);
}

} // namespace

MonthViewAccessible::Announcer MonthViewAccessible::installAnnouncer(Announcer listener)
{
    return std::exchange(announcer, listener);
}

void MonthViewAccessible::announceCurrentDay(MonthView *view, const QDate &date, bool isFocusMove)
{
    if (!announcer && !QAccessible::isActive())
        return;
    QAccessibleInterface *cell = cellFor(view, date);
    if (!cell)
        return;
    announce(cell, QAccessible::Selection);
    if (isFocusMove)
        announce(cell, QAccessible::Focus);
}

MonthView *MonthViewAccessible::monthView() const
{
    return static_cast<MonthView *>(widget());
}

int MonthViewAccessible::childCount() const
{
    return monthView()->MonthRows() * monthView()->MonthColumns();
}

QAccessibleInterface *MonthViewAccessible::child(int index) const
{
    if (index < 0 || index >= childCount())
        return nullptr;
    MonthTableAccessible *&table = m_tables[index];
    if (!table) {
        table = new MonthTableAccessible(const_cast<MonthViewAccessible *>(this), index);
        QAccessible::registerAccessibleInterface(table);
    }
    return table;
}

int MonthViewAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    for (const auto &[index, table] : m_tables) {
        if (table == child)
            return index < childCount() ? index : -1;
    }
    return -1;
}

QAccessibleInterface *MonthViewAccessible::childAt(int x, int y) const
{
    const QPoint pos = monthView()->mapFromGlobal(QPoint(x, y));
    for (int index = 0; index < childCount(); ++index) {
        if (monthView()->monthRect(index).contains(pos))
            return child(index);
    }
    return nullptr;
}

QString MonthViewAccessible::text(QAccessible::Text t) const
{
    const QString own = QAccessibleWidget::text(t);
    if (t != QAccessible::Name || !own.isEmpty())
        return own;
    return QStringLiteral("Calendar");
}
