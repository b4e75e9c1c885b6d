#include "widgets/monthview.h"

#include "support/printers.h"

#include <QSignalSpy>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

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
