#include "diaryfixture.h"

#include "forms/frmview.h"
#include "forms/placement.h"

#include <QAction>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <QWheelEvent>

#include <functional>
#include <string>

namespace {

using tamcal::test::DiaryTest;

using CalendarWindow = DiaryTest;

QDate today()
{
    return QDate::currentDate();
}

TEST_F(CalendarWindow, StartsWithoutAProfileAndWritesTheSettingsWhenClosed)
{
    frmCalView &window = start();
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.windowTitle().isEmpty());
    EXPECT_EQ(mvwShow().Value(), today());
    EXPECT_EQ(mvwShow().MonthRows(), 3);
    EXPECT_EQ(mvwShow().MonthColumns(), 2);
    EXPECT_FALSE(QFile::exists(profilePath()));

    window.move(30, 40);
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(profileText(), "[Main]\r\nUsePass=False\r\nDoPopup=False\r\nBackground=\r\n");
    QSettings store("TamCal", "TamCal");
    EXPECT_EQ(store.value("frmCalView/Top").toString(), "600");
    EXPECT_EQ(store.value("frmCalView/Left").toString(), "450");
    EXPECT_EQ(store.value("frmCalView/Width").toString(), "6330");
    EXPECT_EQ(store.value("frmCalView/Height").toString(), "7065");
}

TEST_F(CalendarWindow, OpensWhereItWasLeft)
{
    QSettings store("TamCal", "TamCal");
    store.setValue("frmCalView/Top", "300");
    store.setValue("frmCalView/Left", "-200");
    store.setValue("frmCalView/Width", "6600");
    store.setValue("frmCalView/Height", "4500");
    store.sync();
    frmCalView &window = start();
    EXPECT_EQ(window.frameGeometry(), QRect(0, 20, 440, 300));
    EXPECT_EQ(mvwShow().MonthRows(), 2);
    EXPECT_EQ(mvwShow().MonthColumns(), 2);
}

TEST_F(CalendarWindow, OwnedWindowsOpenBesideItUntilTheyHaveAPlacement)
{
    const auto editor = [this]() -> QWidget & {
        calendar->dayEditor().setEditDay(today().toString("MM/dd/yyyy"));
        return calendar->dayEditor();
    };
    const auto report = [this]() -> QWidget & { return *calendar->showReportWindow(); };
    const struct
    {
        const char *name;
        const char *section;
        std::function<QWidget &()> open;
        bool hasStoredPlacement;
    } cases[] = {
        {"editor", "frmDayEdit", editor, false},
        {"editor with a placement", "frmDayEdit", editor, true},
        {"report window", "frmView", report, false},
        {"report window with a placement", "frmView", report, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QSettings store("TamCal", "TamCal");
        store.clear();
        if (c.hasStoredPlacement) {
            store.setValue(QString(c.section) + "/Top", "1500");
            store.setValue(QString(c.section) + "/Left", "3000");
        }
        store.sync();
        frmCalView &window = start();
        QWidget &owned = c.open();
        settle(owned);
        const QRect calendarFrame = window.frameGeometry();
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const QPoint expected = c.hasStoredPlacement
                                    ? QPoint(200, 100)
                                    : tamcal::besideOwner(calendarFrame, QSize(422, 471), screen);
        EXPECT_EQ(owned.frameGeometry().topLeft(), expected);
        EXPECT_EQ(owned.frameGeometry().size(), QSize(422, 471));
        calendar.reset();
    }
}

TEST_F(CalendarWindow, MarksEveryShownDayThatHoldsANote)
{
    // The 1st and the last day of the twelve months around today, and the 15th.
    std::string days = "[Days]\r\n";
    for (int offset = -6; offset <= 6; ++offset) {
        const QDate month = today().addMonths(offset);
        const QDate first(month.year(), month.month(), 1);
        days += noteLine(first, "first") + noteLine(first.addDays(14), "middle") +
                noteLine(first.addMonths(1).addDays(-1), "last");
    }
    writeProfile(days);
    start();
    const QDate shownFirst = mvwShow().firstShownMonth();
    const QDate shownLast = mvwShow().lastShownDay();
    for (QDate month = shownFirst; month <= shownLast; month = month.addMonths(1)) {
        SCOPED_TRACE(month.toString("MMMM yyyy").toStdString());
        EXPECT_TRUE(mvwShow().DayBold(month));
        EXPECT_TRUE(mvwShow().DayBold(month.addDays(14)));
        EXPECT_TRUE(mvwShow().DayBold(month.addMonths(1).addDays(-1)));
        EXPECT_FALSE(mvwShow().DayBold(month.addDays(1)));
    }
    EXPECT_EQ(mvwShow().Value(), today());
}

TEST_F(CalendarWindow, MarksTheMonthsThatComeIntoView)
{
    const QDate later(today().year() + 2, 7, 4);
    const QDate earlier(today().year() - 20, 6, 15);
    writeProfile("[Days]\r\n" + noteLine(later, "fireworks") + noteLine(earlier, "long ago") +
                 noteLine(earlier.addMonths(3), "later that year"));
    start();
    for (const QDate &day : {later, earlier}) {
        SCOPED_TRACE(day.toString(Qt::ISODate).toStdString());
        mvwShow().setValue(day);
        QCoreApplication::processEvents();
        EXPECT_EQ(mvwShow().Value(), day);
        EXPECT_EQ(mvwShow().firstShownMonth(), QDate(day.year(), day.month(), 1));
        EXPECT_TRUE(mvwShow().DayBold(day));
        EXPECT_FALSE(mvwShow().DayBold(day.addDays(1)));
    }
    EXPECT_TRUE(mvwShow().DayBold(earlier.addMonths(3)));
    // The selection a person made is kept while months are marked.
    mvwShow().setSelection(earlier.addDays(-2), earlier);
    mvwShow().setValue(earlier.addMonths(-7));
    QCoreApplication::processEvents();
    mvwShow().setSelection(earlier.addDays(-2), earlier);
    QCoreApplication::processEvents();
    EXPECT_EQ(mvwShow().SelStart(), earlier.addDays(-2));
    EXPECT_EQ(mvwShow().SelEnd(), earlier);
    EXPECT_TRUE(mvwShow().DayBold(earlier));
}

// Two years each way from today's month, by every means of browsing. The arrows
// and the wheel leave the selected day where it is; Page Up/Down take it along.
TEST_F(CalendarWindow, BrowsesYearsEachWayAndMarksEveryMonthThatComesIntoView)
{
    std::string days = "[Days]\r\n";
    for (int offset = -30; offset <= 30; ++offset) {
        const QDate month = today().addMonths(offset);
        days += noteLine(QDate(month.year(), month.month(), 15), "mid-month");
    }
    writeProfile(days);
    start();
    const auto click = [this](QPoint at) { QTest::mouseClick(&mvwShow(), Qt::LeftButton, {}, at); };
    const auto wheel = [this](int turn) {
        QWheelEvent event(QPointF(50, 50), mvwShow().mapToGlobal(QPointF(50, 50)), QPoint(),
                          QPoint(0, turn), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&mvwShow(), &event);
    };
    const QPoint previousArrow = mvwShow().monthRect(0).topLeft() + QPoint(12, 10);
    const QPoint nextArrow =
        mvwShow().monthRect(mvwShow().MonthColumns() - 1).topRight() + QPoint(-12, 10);
    const struct
    {
        const char *name;
        std::function<void()> browse;
        int step;
        bool valueFollows;
    } ways[] = {
        {"previous arrow", [&] { click(previousArrow); }, -1, false},
        {"next arrow", [&] { click(nextArrow); }, 1, false},
        {"wheel away", [&] { wheel(120); }, -1, false},
        {"wheel towards", [&] { wheel(-120); }, 1, false},
        {"Page Up", [this] { QTest::keyClick(&mvwShow(), Qt::Key_PageUp); }, -1, true},
        {"Page Down", [this] { QTest::keyClick(&mvwShow(), Qt::Key_PageDown); }, 1, true},
    };
    for (const auto &way : ways) {
        mvwShow().setValue(today());
        QCoreApplication::processEvents();
        const QDate start = mvwShow().firstShownMonth();
        QDate value = today();
        for (int i = 1; i <= 24; ++i) {
            SCOPED_TRACE(std::string(way.name) + " #" + std::to_string(i));
            way.browse();
            QCoreApplication::processEvents();
            if (way.valueFollows)
                value = value.addMonths(way.step);
            ASSERT_EQ(mvwShow().firstShownMonth(), start.addMonths(i * way.step));
            EXPECT_EQ(mvwShow().Value(), value);
            EXPECT_EQ(mvwShow().SelStart(), value);
            EXPECT_EQ(mvwShow().SelEnd(), value);
            for (QDate month = mvwShow().firstShownMonth(); month <= mvwShow().lastShownDay();
                 month = month.addMonths(1)) {
                EXPECT_TRUE(mvwShow().DayBold(month.addDays(14))) << month.toString().toStdString();
                EXPECT_FALSE(mvwShow().DayBold(month.addDays(15)));
            }
        }
    }
}

// "Refresh" after browsing marks the months in view and keeps them in view.
TEST_F(CalendarWindow, RefreshKeepsTheBrowsedMonthsInView)
{
    start();
    for (int i = 0; i < 20; ++i)
        QTest::keyClick(&mvwShow(), Qt::Key_PageDown);
    const QDate shown = mvwShow().firstShownMonth();
    const QDate later = shown.addDays(9);
    mvwShow().setSelection(today(), today());
    QCoreApplication::processEvents();
    EXPECT_EQ(mvwShow().firstShownMonth(), shown);
    writeProfile("[Days]\r\n" + noteLine(later, "written elsewhere"));
    calendar->findChild<QAction *>("mnuCalRefresh")->trigger();
    EXPECT_EQ(mvwShow().firstShownMonth(), shown);
    EXPECT_EQ(mvwShow().Value(), today());
    EXPECT_TRUE(mvwShow().DayBold(later));
}

TEST_F(CalendarWindow, RefreshMarksNotesWrittenMeanwhile)
{
    start();
    EXPECT_FALSE(mvwShow().DayBold(today()));
    writeProfile("[Days]\r\n" + noteLine(today(), "written elsewhere"));
    calendar->findChild<QAction *>("mnuCalRefresh")->trigger();
    EXPECT_TRUE(mvwShow().DayBold(today()));
}

TEST_F(CalendarWindow, DailyPopupOpensTodaysNoteOnlyWhenAskedAndPresent)
{
    struct Case
    {
        const char *name;
        const char *doPopup;
        bool noteToday;
        bool opens;
    };
    const Case cases[] = {
        {"on with a note", "True", true, true},
        {"on without a note", "True", false, false},
        {"off with a note", "False", true, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::string profile = std::string("[Main]\r\nDoPopup=") + c.doPopup + "\r\n[Days]\r\n";
        if (c.noteToday)
            profile += noteLine(today(), "Dentist at 10");
        writeProfile(profile);
        start();
        auto *editor = calendar->findChild<frmDayEdit *>("frmDayEdit");
        EXPECT_EQ(editor && editor->isVisible(), c.opens);
        if (c.opens) {
            EXPECT_EQ(editor->EditDay(), today().toString("MM/dd/yyyy"));
            EXPECT_EQ(editor->windowTitle(), "Edit Day " + today().toString("MM/dd/yyyy"));
        }
    }
}

TEST_F(CalendarWindow, RightClickOpensTheMenuAndLeftClickDoesNot)
{
    start();
    auto *menu = calendar->findChild<QMenu *>("MenuCal");
    const QPoint onDay = mvwShow().dayRect(today()).center();
    QTest::mouseClick(&mvwShow(), Qt::LeftButton, {}, onDay);
    EXPECT_FALSE(menu->isVisible());
    QTest::mouseClick(&mvwShow(), Qt::MiddleButton, {}, onDay);
    EXPECT_FALSE(menu->isVisible());
    QTest::mouseClick(&mvwShow(), Qt::RightButton, {}, onDay);
    EXPECT_TRUE(menu->isVisible());

    QStringList shown;
    for (const QAction *item : menu->actions()) {
        if (item->isVisible())
            shown << (item->isSeparator() ? "-" : item->text());
    }
    EXPECT_EQ(shown, QStringList({"Edit...", "-", "View Selected...", "-", "Refresh", "Settings...",
                                  "Find...", "-", "Cancel"}));
    EXPECT_EQ(calendar->findChild<QAction *>("mnuCalRez3")->text(), "<rezerved>");
    menu->close();
}

// Keys go through the window, as a person's do, so an open pop-up menu takes them.
TEST_F(CalendarWindow, KeysOpenTheDayAndTheMenuAtTheSelectedDay)
{
    frmCalView &window = start();
    auto *menu = calendar->findChild<QMenu *>("MenuCal");
    const QDate day = today().addDays(today().day() > 15 ? -3 : 3);
    const auto press = [&window](Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(window.windowHandle(), key, modifiers);
        QCoreApplication::processEvents();
    };
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Space}) {
        SCOPED_TRACE(key);
        mvwShow().setValue(day);
        mvwShow().setFocus();
        press(key);
        frmDayEdit &editor = calendar->dayEditor();
        EXPECT_TRUE(editor.isVisible());
        EXPECT_EQ(editor.EditDay(), day.toString("MM/dd/yyyy"));
        editor.close();
        settle(window);
    }

    const struct
    {
        const char *name;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    } menuKeys[] = {{"shift+F10", Qt::Key_F10, Qt::ShiftModifier}, {"menu key", Qt::Key_Menu, {}}};
    for (const auto &k : menuKeys) {
        SCOPED_TRACE(k.name);
        mvwShow().setValue(day);
        mvwShow().setFocus();
        press(k.key, k.modifiers);
        ASSERT_TRUE(menu->isVisible());
        EXPECT_EQ(menu->pos(), mvwShow().mapToGlobal(mvwShow().dayRect(day).center()));
        press(Qt::Key_Escape);
        EXPECT_FALSE(menu->isVisible());
        EXPECT_TRUE(window.isVisible());
    }

    // The arrows walk the menu and Return chooses: "View Selected..." is one down.
    QSignalSpy report(calendar.get(), &frmCalView::viewSelectedRequested);
    mvwShow().setFocus();
    press(Qt::Key_Menu);
    press(Qt::Key_Down);
    press(Qt::Key_Return);
    EXPECT_FALSE(menu->isVisible());
    EXPECT_EQ(report.count(), 1);
    EXPECT_TRUE(window.isVisible());
}

// What hovering a day shows, asked as the platform asks: a tooltip event at the day.
QString hoverText(MonthView &view, const QDate &day)
{
    // A tooltip goes a moment after it is told to.
    QToolTip::hideText();
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }));
    const QPoint at = view.dayRect(day).center();
    QHelpEvent hover(QEvent::ToolTip, at, view.mapToGlobal(at));
    QApplication::sendEvent(&view, &hover);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

TEST_F(CalendarWindow, HoveringADayShowsTheFirstLinesOfItsNote)
{
    const QDate first(today().year(), today().month(), 1);
    const std::string longLine(400, 'x');
    struct Case
    {
        const char *name;
        int day;
        std::string note;
        QString shown;
    };
    const Case cases[] = {
        {"one line", 1, "Dentist at 10", "Dentist at 10"},
        {"first three lines of four", 2, "one\r\ntwo\r\nthree\r\nfour", "one\ntwo\nthree"},
        {"a long line is cut at 300 characters", 3, longLine, QString(300, 'x')},
        {"Windows-1252 text", 4, "caf\xE9", QString::fromUtf8("café")},
        {"no note", 5, "", ""},
    };
    std::string profile = "[Days]\r\n";
    for (const Case &c : cases) {
        if (!c.note.empty())
            profile += noteLine(first.addDays(c.day - 1), c.note);
    }
    writeProfile(profile);
    start();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(hoverText(mvwShow(), first.addDays(c.day - 1)), c.shown);
    }
}

TEST_F(CalendarWindow, HoveringAProtectedNoteNeverAsksForThePassword)
{
    const QDate day(today().year(), today().month(), 1);
    writeProfile("[Main]\r\nUsePass=True\r\n[Days]\r\n" +
                 *tamcal::dayKey(day.toString("MM/dd/yyyy").toStdString()) + "=" +
                 tamcal::CryptText("pwsecret\r\nsecond", "pw") + "\r\n");
    start();
    EXPECT_EQ(hoverText(mvwShow(), day), "Protected note");
    EXPECT_TRUE(prompt.passwordRequests.empty());
    EXPECT_TRUE(prompt.messages.empty());

    // A wrong password known this run reads as protected too, and still asks nothing.
    tamcal::CurrentPassword = "wrong";
    EXPECT_EQ(hoverText(mvwShow(), day), "Protected note");
    tamcal::CurrentPassword = "pw";
    EXPECT_EQ(hoverText(mvwShow(), day), "secret\nsecond");
    EXPECT_TRUE(prompt.passwordRequests.empty());
    EXPECT_TRUE(prompt.messages.empty());
}

TEST_F(CalendarWindow, MenuOpensTheEditorAndAsksForTheReport)
{
    start();
    QSignalSpy report(calendar.get(), &frmCalView::viewSelectedRequested);
    calendar->findChild<QAction *>("mnuCalView")->trigger();
    EXPECT_EQ(report.count(), 1);

    const QDate day = today().addDays(today().day() == 1 ? 1 : -1);
    mvwShow().setValue(day);
    calendar->findChild<QAction *>("mnuCalEdit")->trigger();
    frmDayEdit &editor = calendar->dayEditor();
    EXPECT_TRUE(editor.isVisible());
    EXPECT_EQ(editor.EditDay(), day.toString("MM/dd/yyyy"));
}

TEST_F(CalendarWindow, MonthGridFollowsTheWindowSize)
{
    frmCalView &window = start();
    EXPECT_EQ(mvwShow().MonthRows(), 3);
    EXPECT_EQ(mvwShow().MonthColumns(), 2);

    // A maximized window is put back to 9405 x 9210 twips.
    window.showMaximized();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    settleSize(window);
    EXPECT_FALSE(window.isMaximized());
    EXPECT_EQ(window.frameGeometry().size(), QSize(627, 614));
    EXPECT_EQ(mvwShow().MonthRows(), 4);
    EXPECT_EQ(mvwShow().MonthColumns(), 3);

    // 1050 twips high gives 0 rows, which the calendar refuses.
    resizeOuter(window, QSize(200, 70));
    EXPECT_EQ(mvwShow().MonthRows(), 4);
    EXPECT_EQ(mvwShow().MonthColumns(), 1);

    // Halves go to the even number: 9675 twips is 4.5 rows, 4800 is 1.5 columns.
    resizeOuter(window, QSize(320, 645));
    EXPECT_EQ(mvwShow().MonthRows(), 4);
    EXPECT_EQ(mvwShow().MonthColumns(), 2);
}

TEST_F(CalendarWindow, TilesTheBackgroundPictureAtItsOwnSize)
{
    QImage tile(7, 5, QImage::Format_RGB32);
    tile.fill(Qt::red);
    tile.setPixel(0, 0, qRgb(0, 0, 255));
    ASSERT_TRUE(tile.save(folder.filePath("background.PNG"), "PNG"));
    frmCalView &window = start();
    ASSERT_TRUE(window.hasPicture());
    mvwShow().hide();
    const QImage shot = window.grab().toImage();
    EXPECT_EQ(shot.pixel(7, 5), qRgb(0, 0, 255));
    EXPECT_EQ(shot.pixel(14, 10), qRgb(0, 0, 255));
    EXPECT_EQ(shot.pixel(8, 5), qRgb(255, 0, 0));
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_NE(profileText().find("Background=" + folder.filePath("background.PNG").toStdString()),
              std::string::npos);
}

TEST_F(CalendarWindow, AFileThatIsNoPictureIsSkipped)
{
    QFile notAPicture(folder.filePath("Background.jpg"));
    ASSERT_TRUE(notAPicture.open(QIODevice::WriteOnly));
    notAPicture.write("not a picture");
    notAPicture.close();
    frmCalView &window = start();
    EXPECT_FALSE(window.hasPicture());
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_NE(profileText().find("Background=" + folder.filePath("Background.jpg").toStdString()),
              std::string::npos);
}

} // namespace
