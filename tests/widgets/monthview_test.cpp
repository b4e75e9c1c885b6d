#include "widgets/monthview.h"

#include "support/printers.h"
#include "widgets/monthviewaccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <QWindow>

#include <gtest/gtest.h>

#include <vector>

namespace {

// A named case of a date given to the calendar and the date expected from it.
struct DateCase
{
    const char *name;
    QDate given, expected;
};

// A shown 3 x 2 calendar, the calendar window's default layout, starting on March 2004.
class MonthViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(view.setMonthRows(3));
        ASSERT_TRUE(view.setMonthColumns(2));
        scrollTo(QDate(2004, 3, 1));
        view.show();
    }

    // Makes `first` the first month shown and the current value.
    void scrollTo(const QDate &first)
    {
        view.setValue(first.addYears(-100));
        view.setValue(first);
        ASSERT_EQ(view.firstShownMonth(), first);
    }

    void click(const QDate &date, Qt::KeyboardModifiers modifiers = {},
               Qt::MouseButton button = Qt::LeftButton)
    {
        const QRect cell = view.dayRect(date);
        ASSERT_FALSE(cell.isEmpty()) << date.toString(Qt::ISODate).toStdString();
        QTest::mouseClick(view.windowHandle(), button, modifiers, cell.center());
    }

    void expectSelection(const QDate &start, const QDate &end)
    {
        EXPECT_EQ(view.SelStart(), start);
        EXPECT_EQ(view.SelEnd(), end);
    }

    MonthView view;
};

TEST_F(MonthViewTest, LaysMonthsOutRowByRow)
{
    const QSize size = view.sizeHint();
    EXPECT_EQ(view.size(), size);
    const QSize month(size.width() / 2, size.height() / 3);
    for (int index = 0; index < 6; ++index) {
        SCOPED_TRACE(index);
        const QPoint expected((index % 2) * month.width(), (index / 2) * month.height());
        EXPECT_EQ(view.monthRect(index), QRect(expected, month));
        const QDate first = view.firstShownMonth().addMonths(index);
        for (const QDate &day : {first, first.addDays(first.daysInMonth() - 1)})
            EXPECT_TRUE(view.monthRect(index).contains(view.dayRect(day)));
    }
    EXPECT_EQ(view.lastShownDay(), QDate(2004, 8, 31));
}

// Drawn and clicked can't disagree: every drawn date is found again at its cell's centre,
// and dates that aren't drawn (middle months' neighbours, beyond the grid) have no cell.
TEST_F(MonthViewTest, HitTestingFindsEveryDrawnDate)
{
    for (QDate date = view.VisibleDays(1); view.VisibleDays(1).daysTo(date) < 200;
         date = date.addDays(1)) {
        const QRect cell = view.dayRect(date);
        if (!cell.isEmpty()) {
            ASSERT_EQ(view.dateAt(cell.center()), date);
        }
    }
    const QRect march31 = view.dayRect(QDate(2004, 3, 31));
    EXPECT_FALSE(view.dateAt(march31.center() + QPoint(march31.width(), 0)).isValid())
        << "a middle month draws no grey days";
    EXPECT_TRUE(view.monthRect(1).contains(view.dayRect(QDate(2004, 4, 1))));
    EXPECT_TRUE(view.dayRect(QDate(2004, 9, 1)).isValid()) << "trailing day of the last month";
    EXPECT_TRUE(view.dayRect(QDate(2004, 9, 30)).isEmpty()) << "beyond the grid";
    EXPECT_TRUE(view.dayRect(QDate()).isEmpty());
    EXPECT_FALSE(view.dateAt(view.monthRect(0).topLeft() + QPoint(60, 5)).isValid());
}

// The calendar window's client area is about 414 x 444 pixels at its default size and
// 627 x 614 after a maximize; the day editor's picker holds one month in 180 x 158.
TEST_F(MonthViewTest, FitsTheWindowsThatHoldIt)
{
    const struct
    {
        int rows, columns;
        QSize room;
    } cases[] = {{3, 2, {414, 444}}, {4, 3, {627, 614}}, {1, 1, {180, 158}}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.rows * 10 + c.columns);
        ASSERT_TRUE(view.setMonthColumns(c.columns));
        ASSERT_TRUE(view.setMonthRows(c.rows));
        EXPECT_LE(view.width(), c.room.width());
        EXPECT_LE(view.height(), c.room.height());
    }
}

TEST_F(MonthViewTest, RejectsLayoutsItCannotShow)
{
    QSignalSpy shownMonths(&view, &MonthView::shownMonthsChanged);
    const struct
    {
        const char *name;
        bool isRows;
        int value;
        bool accepted;
        int rows, columns;
    } steps[] = {
        {"zero rows", true, 0, false, 3, 2},
        {"negative columns", false, -1, false, 3, 2},
        {"14 months", true, 7, false, 3, 2},
        {"12 months", true, 6, true, 6, 2},
        {"18 months", false, 3, false, 6, 2},
        {"one long row", false, 12, false, 6, 2},
        {"back to the window's grid", true, 3, true, 3, 2},
    };
    for (const auto &s : steps) {
        SCOPED_TRACE(s.name);
        const bool accepted = s.isRows ? view.setMonthRows(s.value) : view.setMonthColumns(s.value);
        EXPECT_EQ(accepted, s.accepted);
        EXPECT_EQ(view.MonthRows(), s.rows);
        EXPECT_EQ(view.MonthColumns(), s.columns);
        EXPECT_EQ(view.size(), view.sizeHint());
    }
    EXPECT_EQ(shownMonths.count(), 2);
}

TEST_F(MonthViewTest, FirstVisibleDayIsALeadingDayUnlessTheMonthStartsOnSunday)
{
    const DateCase cases[] = {
        {"Monday start", {2004, 3, 1}, {2004, 2, 29}},
        {"Sunday start", {2004, 2, 1}, {2004, 2, 1}},
        {"Saturday start, across the year end", {2000, 1, 1}, {1999, 12, 26}},
        {"Sunday start in November", {2009, 11, 1}, {2009, 11, 1}},
        {"Sunday start, 1 January", {2006, 1, 1}, {2006, 1, 1}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        scrollTo(c.given);
        EXPECT_EQ(view.VisibleDays(1), c.expected);
        EXPECT_EQ(view.VisibleDays(2), c.expected.addDays(1));
    }
    scrollTo(QDate(2004, 3, 1));
    EXPECT_EQ(view.VisibleDays(0), QDate());
    // Six months and the grey days around them: 29 Feb to 11 Sep 2004.
    EXPECT_EQ(view.VisibleDays(196), QDate(2004, 9, 11));
    EXPECT_EQ(view.VisibleDays(197), QDate());
}

TEST_F(MonthViewTest, ValueScrollsOnlyToMonthsNotShown)
{
    QSignalSpy shownMonths(&view, &MonthView::shownMonthsChanged);
    const DateCase cases[] = {
        {"a shown month", {2004, 8, 31}, {2004, 3, 1}},
        {"the month of the grey leading days", {2004, 2, 1}, {2004, 3, 1}},
        {"the month of the grey trailing days", {2004, 9, 30}, {2004, 3, 1}},
        {"a later month becomes the first", {2004, 10, 5}, {2004, 10, 1}},
        {"an earlier month across a year end", {2003, 12, 24}, {2003, 12, 1}},
        {"before the calendar's dates: ignored", {1700, 1, 1}, {2003, 12, 1}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        view.setValue(c.given);
        EXPECT_EQ(view.firstShownMonth(), c.expected);
    }
    EXPECT_EQ(view.Value(), QDate(2003, 12, 24));
    EXPECT_EQ(view.Month(), 12);
    EXPECT_EQ(view.Year(), 2003);
    expectSelection(QDate(2003, 12, 24), QDate(2003, 12, 24));
    EXPECT_EQ(shownMonths.count(), 2);
}

TEST_F(MonthViewTest, BoldMarksNeedAShownMonthAndSurviveScrolling)
{
    const QDate hidden(2004, 10, 1);
    EXPECT_FALSE(view.setDayBold(hidden, true));
    EXPECT_FALSE(view.DayBold(hidden));
    EXPECT_FALSE(view.setDayBold(QDate(2004, 1, 31), true)) << "before the grey days' month";

    for (const QDate &date : {QDate(2004, 3, 1), QDate(2004, 8, 31), QDate(2004, 2, 1)})
        EXPECT_TRUE(view.setDayBold(date, true));
    EXPECT_TRUE(view.setDayBold(QDate(2004, 9, 30), false)) << "month of the trailing days";

    view.setValue(QDate(2010, 1, 1));
    EXPECT_TRUE(view.DayBold(QDate(2004, 3, 1)));
    EXPECT_FALSE(view.setDayBold(QDate(2004, 3, 1), false));
    scrollTo(QDate(2004, 3, 1));
    EXPECT_TRUE(view.DayBold(QDate(2004, 3, 1)));
    EXPECT_TRUE(view.DayBold(QDate(2004, 8, 31)));
    EXPECT_TRUE(view.setDayBold(QDate(2004, 3, 1), false));
    EXPECT_FALSE(view.DayBold(QDate(2004, 3, 1)));
}

TEST_F(MonthViewTest, ClickSelectsADayAndReportsIt)
{
    QSignalSpy clicks(&view, &MonthView::DateClick);
    QSignalSpy mouseUps(&view, &MonthView::MouseUp);
    click(QDate(2004, 5, 12));
    expectSelection(QDate(2004, 5, 12), QDate(2004, 5, 12));
    EXPECT_EQ(view.Value(), QDate(2004, 5, 12));
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks.at(0).at(0).toDate(), QDate(2004, 5, 12));
    ASSERT_EQ(mouseUps.count(), 1);
    EXPECT_EQ(mouseUps.at(0).at(0).value<Qt::MouseButton>(), Qt::LeftButton);
    const QPoint centre = view.dayRect(QDate(2004, 5, 12)).center();
    EXPECT_EQ(mouseUps.at(0).at(2).toInt(), centre.x());
    EXPECT_EQ(mouseUps.at(0).at(3).toInt(), centre.y());
}

TEST_F(MonthViewTest, RightClickOnlyReportsTheRelease)
{
    click(QDate(2004, 5, 12));
    QSignalSpy clicks(&view, &MonthView::DateClick);
    QSignalSpy mouseUps(&view, &MonthView::MouseUp);
    click(QDate(2004, 6, 1), Qt::ShiftModifier, Qt::RightButton);
    expectSelection(QDate(2004, 5, 12), QDate(2004, 5, 12));
    EXPECT_EQ(clicks.count(), 0);
    ASSERT_EQ(mouseUps.count(), 1);
    EXPECT_EQ(mouseUps.at(0).at(0).value<Qt::MouseButton>(), Qt::RightButton);
    EXPECT_EQ(mouseUps.at(0).at(1).value<Qt::KeyboardModifiers>(), Qt::ShiftModifier);
}

TEST_F(MonthViewTest, DoubleClickIsOneClickAndOneDoubleClick)
{
    QSignalSpy clicks(&view, &MonthView::DateClick);
    QSignalSpy doubleClicks(&view, &MonthView::DateDblClick);
    QSignalSpy mouseUps(&view, &MonthView::MouseUp);
    QTest::mouseDClick(view.windowHandle(), Qt::LeftButton, {},
                       view.dayRect(QDate(2004, 7, 4)).center());
    EXPECT_EQ(clicks.count(), 1);
    ASSERT_EQ(doubleClicks.count(), 1);
    EXPECT_EQ(doubleClicks.at(0).at(0).toDate(), QDate(2004, 7, 4));
    EXPECT_EQ(mouseUps.count(), 2);
    EXPECT_EQ(view.Value(), QDate(2004, 7, 4));
}

TEST_F(MonthViewTest, ShiftClickAndDragSelectRanges)
{
    click(QDate(2004, 5, 12));
    click(QDate(2004, 4, 28), Qt::ShiftModifier);
    expectSelection(QDate(2004, 4, 28), QDate(2004, 5, 12));
    click(QDate(2004, 6, 3), Qt::ShiftModifier);
    expectSelection(QDate(2004, 5, 12), QDate(2004, 6, 3));

    QSignalSpy clicks(&view, &MonthView::DateClick);
    QWindow *window = view.windowHandle();
    QTest::mousePress(window, Qt::LeftButton, {}, view.dayRect(QDate(2004, 3, 30)).center());
    QTest::mouseMove(window, view.dayRect(QDate(2004, 4, 9)).center());
    QTest::mouseMove(window, view.dayRect(QDate(2004, 4, 2)).center());
    QTest::mouseRelease(window, Qt::LeftButton, {}, view.dayRect(QDate(2004, 4, 2)).center());
    expectSelection(QDate(2004, 3, 30), QDate(2004, 4, 2));
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks.at(0).at(0).toDate(), QDate(2004, 4, 2));

    click(QDate(2004, 3, 1));
    EXPECT_EQ(view.SelStart(), view.SelEnd()) << "a plain click collapses the range";
}

TEST_F(MonthViewTest, GreyDaysAndArrows)
{
    QSignalSpy shownMonths(&view, &MonthView::shownMonthsChanged);
    click(QDate(2004, 2, 29));
    EXPECT_EQ(view.Value(), QDate(2004, 2, 29)) << "a grey day is selected in place";
    EXPECT_EQ(view.firstShownMonth(), QDate(2004, 3, 1));
    EXPECT_EQ(shownMonths.count(), 0);

    const QPoint topLeft = view.monthRect(0).topLeft() + QPoint(12, 10);
    const QPoint topRight = view.monthRect(1).topRight() + QPoint(-12, 10);
    QTest::mouseClick(view.windowHandle(), Qt::LeftButton, {}, topRight);
    EXPECT_EQ(view.firstShownMonth(), QDate(2004, 4, 1));
    QTest::mouseClick(view.windowHandle(), Qt::LeftButton, {}, topLeft);
    QTest::mouseClick(view.windowHandle(), Qt::LeftButton, {}, topLeft);
    EXPECT_EQ(view.firstShownMonth(), QDate(2004, 2, 1));
    EXPECT_EQ(shownMonths.count(), 3);
    EXPECT_EQ(view.Value(), QDate(2004, 2, 29)) << "the arrows scroll without selecting";
}

// Each case turns the wheel over a fresh calendar showing March 2004 from its 12th.
TEST(MonthViewWheel, BrowsesAMonthANotchAndLeavesTheSelection)
{
    const struct
    {
        const char *name;
        std::vector<int> turns; // eighths of a degree, positive away from the person
        QDate shownAfter;
    } cases[] = {
        {"a notch away goes back", {120}, QDate(2004, 2, 1)},
        {"a notch towards goes on", {-120}, QDate(2004, 4, 1)},
        {"three notches at once", {-360}, QDate(2004, 6, 1)},
        {"half a notch waits for the rest", {60}, QDate(2004, 3, 1)},
        {"two halves make a notch", {60, 60}, QDate(2004, 2, 1)},
        {"back and forth cancel", {120, -120}, QDate(2004, 3, 1)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        MonthView view;
        view.setValue(QDate(2004, 3, 12));
        for (const int turn : c.turns) {
            QWheelEvent wheel(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, turn),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(&view, &wheel);
        }
        EXPECT_EQ(view.firstShownMonth(), c.shownAfter);
        EXPECT_EQ(view.Value(), QDate(2004, 3, 12));
        EXPECT_EQ(view.SelStart(), QDate(2004, 3, 12));
    }
}

TEST_F(MonthViewTest, SelectionIsLimitedToAYear)
{
    view.setSelection(QDate(2004, 1, 1), QDate(2006, 1, 1));
    expectSelection(QDate(2004, 1, 1), QDate(2004, 12, 31));
    view.setSelection(QDate(2004, 12, 31), QDate(2003, 1, 1));
    expectSelection(QDate(2004, 1, 1), QDate(2004, 12, 31));
    EXPECT_EQ(view.Value(), QDate(2004, 1, 1));
}

// Dates written as yyyymmdd, shown months as yyyymm, to keep the table one case a line.
TEST_F(MonthViewTest, KeyboardMovesTheDayAndScrollsByMonths)
{
    const struct
    {
        const char *name;
        Qt::Key key;
        int shown, from, to, shownAfter;
    } cases[] = {
        {"right", Qt::Key_Right, 200403, 20040512, 20040513, 200403},
        {"up", Qt::Key_Up, 200403, 20040512, 20040505, 200403},
        {"home", Qt::Key_Home, 200403, 20040512, 20040501, 200403},
        {"end of a leap February", Qt::Key_End, 200402, 20040203, 20040229, 200402},
        {"left into a grey day scrolls back", Qt::Key_Left, 200403, 20040301, 20040229, 200402},
        {"down past the last month", Qt::Key_Down, 200403, 20040828, 20040904, 200404},
        {"right across the year end", Qt::Key_Right, 200307, 20031231, 20040101, 200308},
        {"page down across the year end", Qt::Key_PageDown, 200308, 20031215, 20040115, 200309},
        {"page up across the year end", Qt::Key_PageUp, 200308, 20040131, 20031231, 200307},
        {"page down onto a leap day", Qt::Key_PageDown, 200308, 20040131, 20040229, 200309},
    };
    const auto day = [](int ymd) { return QDate(ymd / 10000, ymd / 100 % 100, ymd % 100); };
    const auto month = [&day](int ym) { return day(ym * 100 + 1); };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        scrollTo(month(c.shown));
        view.setValue(day(c.from));
        QTest::keyClick(&view, c.key);
        EXPECT_EQ(view.Value(), day(c.to));
        EXPECT_EQ(view.firstShownMonth(), month(c.shownAfter));
        expectSelection(day(c.to), day(c.to));
    }
}

TEST_F(MonthViewTest, ShiftArrowsExtendTheSelection)
{
    view.setValue(QDate(2004, 5, 12));
    QTest::keyClick(&view, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(&view, Qt::Key_Right, Qt::ShiftModifier);
    expectSelection(QDate(2004, 5, 12), QDate(2004, 5, 20));
    QTest::keyClick(&view, Qt::Key_Left);
    expectSelection(QDate(2004, 5, 19), QDate(2004, 5, 19));
}

TEST_F(MonthViewTest, KeysOpenTheCurrentDayAndItsMenu)
{
    const struct
    {
        const char *name;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool activates, asksForMenu;
    } cases[] = {
        {"return", Qt::Key_Return, Qt::NoModifier, true, false},
        {"keypad enter", Qt::Key_Enter, Qt::KeypadModifier, true, false},
        {"space", Qt::Key_Space, Qt::NoModifier, true, false},
        {"menu key", Qt::Key_Menu, Qt::NoModifier, false, true},
        {"shift+F10", Qt::Key_F10, Qt::ShiftModifier, false, true},
        {"F10 alone", Qt::Key_F10, Qt::NoModifier, false, false},
    };
    const QDate day(2004, 3, 18);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        view.setValue(day);
        QSignalSpy activated(&view, &MonthView::activated);
        QSignalSpy menu(&view, &MonthView::menuRequested);
        QTest::keyClick(&view, c.key, c.modifiers);
        ASSERT_EQ(activated.count(), c.activates ? 1 : 0);
        ASSERT_EQ(menu.count(), c.asksForMenu ? 1 : 0);
        if (c.activates) {
            EXPECT_EQ(activated.at(0).at(0).toDate(), day);
        }
        if (c.asksForMenu) {
            EXPECT_EQ(menu.at(0).at(0).toPoint(), view.dayRect(day).center());
        }
        EXPECT_EQ(view.Value(), day);
    }

    // The platform's own menu event for the Menu key lands on the current day too,
    // while a mouse's is left to the window.
    QSignalSpy menu(&view, &MonthView::menuRequested);
    QContextMenuEvent fromKeyboard(QContextMenuEvent::Keyboard, QPoint(1, 1), QPoint(1, 1));
    QApplication::sendEvent(&view, &fromKeyboard);
    QContextMenuEvent fromMouse(QContextMenuEvent::Mouse, QPoint(1, 1), QPoint(1, 1));
    QApplication::sendEvent(&view, &fromMouse);
    ASSERT_EQ(menu.count(), 1);
    EXPECT_EQ(menu.at(0).at(0).toPoint(), view.dayRect(day).center());
}

// Every month a table, every day a cell named with its full date; blank cells hide.
TEST_F(MonthViewTest, ScreenReadersSeeMonthTablesOfNamedDays)
{
    QAccessibleInterface *calendar = QAccessible::queryAccessibleInterface(&view);
    ASSERT_TRUE(calendar);
    EXPECT_EQ(calendar->childCount(), 6);
    QAccessibleInterface *march = calendar->child(0);
    ASSERT_TRUE(march);
    EXPECT_EQ(march->role(), QAccessible::Table);
    EXPECT_EQ(march->text(QAccessible::Name), "March 2004");
    EXPECT_EQ(calendar->child(5)->text(QAccessible::Name), "August 2004");
    EXPECT_EQ(march->childCount(), 42);
    EXPECT_EQ(march->parent(), calendar);
    QAccessibleTableInterface *table = march->tableInterface();
    ASSERT_TRUE(table);
    EXPECT_EQ(table->rowCount(), 6);
    EXPECT_EQ(table->columnCount(), 7);
    EXPECT_EQ(table->columnDescription(0), "Sunday");

    view.setDayBold(QDate(2004, 3, 18), true);
    view.setSelection(QDate(2004, 3, 17), QDate(2004, 3, 18));
    const struct
    {
        const char *name;
        int month, row, column;
        const char *text;
        bool selected, invisible;
    } cells[] = {
        {"grey leading day", 0, 0, 0, "Sunday, February 29, 2004", false, false},
        {"first of the month", 0, 0, 1, "Monday, March 1, 2004", false, false},
        {"selected day with a note", 0, 2, 4, "Thursday, March 18, 2004, has a note", true, false},
        {"selected day", 0, 2, 3, "Wednesday, March 17, 2004", true, false},
        {"blank cell after a middle month", 1, 5, 6, "", false, true},
        {"blank cell before a middle month", 1, 0, 0, "", false, true},
    };
    for (const auto &c : cells) {
        SCOPED_TRACE(c.name);
        QAccessibleInterface *cell =
            calendar->child(c.month)->tableInterface()->cellAt(c.row, c.column);
        ASSERT_TRUE(cell);
        EXPECT_EQ(cell->role(), QAccessible::Cell);
        EXPECT_EQ(cell->text(QAccessible::Name), c.text);
        EXPECT_EQ(cell->state().selected, c.selected);
        EXPECT_EQ(cell->state().invisible, c.invisible);
        EXPECT_EQ(cell->tableCellInterface()->rowIndex(), c.row);
        if (!c.invisible) {
            const QDate date = view.dateInCell(c.month, c.row * 7 + c.column);
            EXPECT_EQ(cell->rect(), QRect(view.mapToGlobal(view.dayRect(date).topLeft()),
                                          view.dayRect(date).size()));
        }
    }
    EXPECT_EQ(march->tableInterface()->selectedCellCount(), 2);

    const QDate today = QDate::currentDate();
    view.setValue(today);
    QAccessibleInterface *todayCell = MonthViewAccessible::cellFor(&view, today);
    ASSERT_TRUE(todayCell);
    EXPECT_TRUE(todayCell->text(QAccessible::Name).endsWith(", today"));
    EXPECT_TRUE(todayCell->text(QAccessible::Name)
                    .startsWith(QLocale(QLocale::English).toString(today, "dddd, MMMM d, yyyy")));
}

std::vector<std::pair<QAccessible::Event, QString>> announced;

void recordAnnouncement(QAccessibleEvent *event)
{
    QAccessibleInterface *target = event->accessibleInterface();
    announced.emplace_back(event->type(), target ? target->text(QAccessible::Name) : QString());
}

TEST_F(MonthViewTest, MovingTheDayIsAnnounced)
{
    view.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    view.setFocus();
    view.setValue(QDate(2004, 3, 31));
    announced.clear();
    const auto previous = MonthViewAccessible::installAnnouncer(recordAnnouncement);
    QTest::keyClick(&view, Qt::Key_Right);
    view.clearFocus();
    view.setValue(QDate(2004, 4, 2));
    MonthViewAccessible::installAnnouncer(previous);

    using Announcement = std::pair<QAccessible::Event, QString>;
    const std::vector<Announcement> expected = {
        {QAccessible::Selection, "Thursday, April 1, 2004"},
        {QAccessible::Focus, "Thursday, April 1, 2004"},
        {QAccessible::Selection, "Friday, April 2, 2004"},
    };
    EXPECT_EQ(announced, expected);
}

bool holdsColour(const QImage &image, const QRect &area, const QColor &colour)
{
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            const int distance = std::abs(pixel.red() - colour.red()) +
                                 std::abs(pixel.green() - colour.green()) +
                                 std::abs(pixel.blue() - colour.blue());
            if (distance <= 24)
                return true;
        }
    }
    return false;
}

// A dark palette, with no white in it: any white drawn would be the widget's own.
QPalette darkPalette()
{
    QPalette dark;
    const std::pair<QPalette::ColorRole, QColor> colours[] = {
        {QPalette::Window, QColor(40, 40, 40)},
        {QPalette::WindowText, QColor(224, 224, 224)},
        {QPalette::Base, QColor(30, 30, 30)},
        {QPalette::Text, QColor(224, 224, 224)},
        {QPalette::PlaceholderText, QColor(128, 128, 128)},
        {QPalette::Button, QColor(60, 60, 70)},
        {QPalette::ButtonText, QColor(200, 200, 120)},
        {QPalette::Highlight, QColor(40, 110, 210)},
        {QPalette::HighlightedText, QColor(250, 240, 200)},
        {QPalette::Mid, QColor(90, 90, 90)},
    };
    for (const auto &[role, colour] : colours)
        dark.setColor(role, colour);
    return dark;
}

// Days, marks and titles drawn from the palette, read back from a picture of the
// calendar: today keeps a frame while another day is selected, a day with a note
// has a corner mark, grey days stay grey.
TEST_F(MonthViewTest, PaintsFromItsPaletteOnly)
{
    const QDate today = QDate::currentDate();
    const QDate first(today.year(), today.month(), 1);
    scrollTo(first);
    const QDate selected = today.day() > 15 ? first.addDays(2) : first.addDays(20);
    const QDate noted = today.day() > 15 ? first.addDays(4) : first.addDays(22);
    const QDate plain = today.day() > 15 ? first.addDays(6) : first.addDays(24);
    view.setValue(selected);
    view.setDayBold(noted, true);
    view.setDayBold(selected, true);
    const QPalette dark = darkPalette();
    view.setPalette(dark);
    const QImage image = view.grab().toImage();
    const auto colour = [&dark](QPalette::ColorRole role) { return dark.color(role); };
    const auto cell = [this](const QDate &date) { return view.dayRect(date); };

    EXPECT_EQ(image.pixelColor(cell(plain).topLeft()), colour(QPalette::Base));
    EXPECT_TRUE(holdsColour(image, cell(plain), colour(QPalette::Text)));
    EXPECT_EQ(image.pixelColor(cell(selected).bottomLeft()), colour(QPalette::Highlight));
    EXPECT_TRUE(holdsColour(image, cell(selected), colour(QPalette::HighlightedText)));
    EXPECT_EQ(image.pixelColor(cell(today).left(), cell(today).center().y()),
              colour(QPalette::Highlight));
    const QPoint markPixel = cell(noted).topRight() + QPoint(-1, 1);
    EXPECT_EQ(image.pixelColor(markPixel), colour(QPalette::Highlight));
    EXPECT_EQ(image.pixelColor(cell(plain).topRight() + QPoint(-1, 1)), colour(QPalette::Base));
    EXPECT_EQ(image.pixelColor(cell(selected).topRight() + QPoint(-1, 1)),
              colour(QPalette::HighlightedText));
    // The last cell of the last month always holds a trailing day.
    const QDate grey = view.dateInCell(5, 41);
    ASSERT_NE(grey.month(), first.addMonths(5).month());
    EXPECT_TRUE(holdsColour(image, cell(grey), colour(QPalette::PlaceholderText)));
    EXPECT_FALSE(holdsColour(image, cell(grey), colour(QPalette::Text)));
    EXPECT_EQ(image.pixelColor(view.monthRect(0).center().x(), view.monthRect(0).top() + 3),
              colour(QPalette::Button));
    EXPECT_FALSE(holdsColour(image, image.rect(), Qt::white));

    // At two device pixels to a pixel the same picture is drawn twice as fine:
    // today's frame is four device pixels wide.
    QImage sharp(view.size() * 2, QImage::Format_ARGB32);
    sharp.setDevicePixelRatio(2);
    view.render(&sharp);
    const QPoint frameStart(cell(today).left() * 2, cell(today).center().y() * 2);
    EXPECT_EQ(sharp.pixelColor(frameStart + QPoint(3, 0)), colour(QPalette::Highlight));
    EXPECT_NE(sharp.pixelColor(frameStart + QPoint(5, 0)), colour(QPalette::Highlight));
}

TEST_F(MonthViewTest, LeavesOtherKeysToItsWindow)
{
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&view, &escape);
    EXPECT_FALSE(escape.isAccepted());
    QKeyEvent pageDown(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
    QApplication::sendEvent(&view, &pageDown);
    EXPECT_TRUE(pageDown.isAccepted());
}

} // namespace
