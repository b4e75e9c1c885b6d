#include "diaryfixture.h"

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

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
    EXPECT_EQ(shown,
              QStringList({"Edit...", "-", "View Selected...", "-", "Refresh", "-", "Cancel"}));
    EXPECT_EQ(calendar->findChild<QAction *>("mnuCalRez3")->text(), "<rezerved>");
    menu->close();
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
