#include "diaryfixture.h"
#include "eventwait.h"
#include "forms/frmview.h"
#include "forms/reportoutput.h"
#include "modal.h"
#include "report/reportdocument.h"

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QLabel>
#include <QLocale>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QProgressBar>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>
#include <QWebEngineView>

#include <functional>
#include <memory>
#include <optional>

namespace {

using tamcal::test::DiaryTest;
using tamcal::test::waitUntil;

constexpr int kLoadTimeoutMs = 30000;

// The browser view's page process refuses to run as root with its sandbox on;
// set before the application starts, as the program does for root.
const bool kSandboxOff = qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");

QString fileText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
}

// The report window with every progress report recorded as the window saw it,
// and a hook that runs inside the build at each report.
class RecordingView : public frmView
{
public:
    struct Step
    {
        float progress;
        float max;
        int barMaximum;
        int barValue;
        std::optional<Qt::CursorShape> pointer;
        QString status;
    };

    using frmView::frmView;

    void SetProgress(float sngProgress, float sngMax) override
    {
        frmView::SetProgress(sngProgress, sngMax);
        const QCursor *pointer = QGuiApplication::overrideCursor();
        const auto *bar = findChild<QProgressBar *>("prbStat");
        std::optional<Qt::CursorShape> shape;
        if (pointer)
            shape = pointer->shape();
        steps.push_back({sngProgress, sngMax, bar->maximum(), bar->value(), shape,
                         findChild<QLabel *>("stbPanel1")->text()});
        if (onProgress)
            onProgress(static_cast<int>(steps.size()) - 1);
    }

    std::vector<Step> steps;
    std::function<void(int)> onProgress;
};

// Runs a script in the page and waits for its result.
QVariant runScript(QWebEnginePage &page, const QString &script)
{
    auto result = std::make_shared<std::optional<QVariant>>();
    page.runJavaScript(script, [result](const QVariant &value) { *result = value; });
    if (!waitUntil([&] { return result->has_value(); }, kLoadTimeoutMs))
        ADD_FAILURE() << "no answer from the page to: " << script.toStdString();
    return result->value_or(QVariant());
}

// What pdfinfo says of a PDF file under `field`, such as "Pages" or "Page size".
QString pdfInfo(const QString &path, const QString &field)
{
    QProcess pdfinfo;
    pdfinfo.start("pdfinfo", {path});
    if (!pdfinfo.waitForFinished(30000) || pdfinfo.exitCode() != 0) {
        ADD_FAILURE() << "pdfinfo (poppler-utils) could not read " << path.toStdString();
        return {};
    }
    for (const QString &line : QString::fromUtf8(pdfinfo.readAllStandardOutput()).split('\n')) {
        if (line.startsWith(field + ":"))
            return line.mid(field.size() + 1).trimmed();
    }
    return {};
}

QString pageText(QWebEnginePage &page)
{
    return runScript(page, "document.body ? document.body.innerText : ''").toString();
}

// A program folder whose profile holds notes in March 2004, and the report
// window opened on it, either from the calendar or on its own.
class ReportWindow : public DiaryTest
{
protected:
    void SetUp() override
    {
        DiaryTest::SetUp();
        writeProfile("[Days]\r\n" + noteLine({2004, 3, 1}, "First day\r\nsecond line") +
                     noteLine({2004, 3, 14}, "Pi day \xE9t\xE9"));
        tamcal::formPaths(executablePath());
    }

    RecordingView &openView(QDate begin, QDate end)
    {
        view = new RecordingView(begin, end, prompt);
        watchLoads(*view);
        view->Form_Load();
        view->show();
        return *view;
    }

    void watchLoads(frmView &window)
    {
        web = window.findChild<QWebEngineView *>("webReporter");
        loaded.clear();
        QObject::connect(web, &QWebEngineView::loadFinished, web, [this](bool isOk) {
            if (isOk)
                loaded.append(web->url());
        });
    }

    bool waitForLoad(const QUrl &url)
    {
        return waitUntil([&] { return loaded.contains(url); }, kLoadTimeoutMs);
    }

    QUrl fileUrl(const char *name) const { return QUrl::fromLocalFile(folder.filePath(name)); }

    template <typename T> T *child(const char *name) const { return view->findChild<T *>(name); }

    void pressGo() const { child<QToolButton>("btnSave")->click(); }

    void TearDown() override
    {
        // Closing deletes the window later; a window never closed is deleted here.
        delete view.data();
        DiaryTest::TearDown();
    }

    QPointer<RecordingView> view;
    QWebEngineView *web = nullptr;
    QList<QUrl> loaded;
};

TEST_F(ReportWindow, OpensOnTheCalendarSelectionAndBuildsNothing)
{
    start();
    mvwShow().setSelection({2004, 3, 8}, {2004, 3, 10});
    calendar->findChild<QAction *>("mnuCalView")->trigger();
    auto *window = calendar->findChild<frmView *>("frmView");
    ASSERT_TRUE(window);
    watchLoads(*window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), "Multi Day View");
    EXPECT_EQ(window->findChild<QDateEdit *>("dtpBeg")->date(), QDate(2004, 3, 8));
    EXPECT_EQ(window->findChild<QDateEdit *>("dtpEnd")->date(), QDate(2004, 3, 10));
    EXPECT_EQ(window->findChild<QDateEdit *>("dtpBeg")->text(), "03/08/2004");
    EXPECT_TRUE(window->findChild<QDateEdit *>("dtpEnd")->calendarPopup());
    EXPECT_TRUE(waitForLoad(QUrl("about:blank")));
    EXPECT_FALSE(QFile::exists(folder.filePath("pleasewait.htm")));
    EXPECT_FALSE(QFile::exists(folder.filePath("TamCalendar.htm")));

    const auto *sizes = window->findChild<QComboBox *>("cboFontSize");
    QStringList list;
    for (int i = 0; i < sizes->count(); ++i)
        list << sizes->itemText(i);
    EXPECT_EQ(list, QStringList({"2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "14",
                                 "16", "18", "20"}));
    EXPECT_EQ(sizes->currentText(), "10");
    EXPECT_TRUE(sizes->isEditable());
    EXPECT_EQ(sizes->toolTip(), "Select the Size of the Font for the Day Text.");
    const auto *noScripts = window->findChild<QCheckBox *>("chkScripts");
    EXPECT_EQ(noScripts->text(), "No Scripts");
    EXPECT_FALSE(noScripts->isChecked());
    EXPECT_EQ(noScripts->toolTip(), "Check this if you dont want Scripting in the Report");
    const auto *go = window->findChild<QToolButton *>("btnSave");
    EXPECT_EQ(go->text(), "&Go");
    EXPECT_EQ(go->toolTip(), "Generate The Report");

    // Asked again while open, it only comes forward: the range is not read again.
    mvwShow().setSelection({2004, 3, 20}, {2004, 3, 20});
    EXPECT_EQ(calendar->showReportWindow(), window);
    EXPECT_EQ(window->findChild<QDateEdit *>("dtpBeg")->date(), QDate(2004, 3, 8));

    // Closed, it remembers its placement and is gone; the next one reads the selection.
    QPointer<frmView> closed(window);
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(closed);
    EXPECT_TRUE(QSettings("TamCal", "TamCal").contains("frmView/Width"));
    QPointer<QWidget> reopened(calendar->showReportWindow());
    EXPECT_EQ(reopened->findChild<QDateEdit *>("dtpBeg")->date(), QDate(2004, 3, 20));
    EXPECT_EQ(reopened->findChild<QDateEdit *>("dtpEnd")->date(), QDate(2004, 3, 20));

    // It closes with the calendar, remembering where it was.
    QSettings("TamCal", "TamCal").remove("frmView");
    calendar->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(reopened);
    EXPECT_TRUE(QSettings("TamCal", "TamCal").contains("frmView/Width"));
}

TEST_F(ReportWindow, GoShowsTheWaitPageThenTheReportWithWorkingToggles)
{
    openView({2004, 3, 1}, {2004, 3, 31});
    QString waitPageShown;
    view->onProgress = [&](int call) {
        if (call == 0 && waitForLoad(fileUrl("pleasewait.htm")))
            waitPageShown = pageText(*web->page());
    };
    pressGo();

    EXPECT_EQ(fileText(folder.filePath("pleasewait.htm")),
              "\r\n<html>\r\n  <H2>Please Wait...</H2>\r\n  <h5>Building Report...</h5>"
              "\r\n</html>");
    EXPECT_TRUE(waitPageShown.contains("Please Wait..."));
    EXPECT_TRUE(waitPageShown.contains("Building Report..."));
    ASSERT_EQ(view->steps.size(), 32u);
    for (int k = 0; k < 31; ++k) {
        const RecordingView::Step &step = view->steps[k];
        SCOPED_TRACE(k);
        EXPECT_EQ(step.progress, float(k));
        EXPECT_EQ(step.barMaximum, 30);
        EXPECT_EQ(step.barValue, k);
        EXPECT_EQ(step.pointer, Qt::WaitCursor);
        EXPECT_EQ(step.status, "Please Wait Building Report...");
    }
    EXPECT_EQ(view->steps.back().barMaximum, 100);
    EXPECT_EQ(view->steps.back().barValue, 0);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(view->isBuilding());

    ASSERT_TRUE(waitForLoad(fileUrl("TamCalendar.htm")));
    EXPECT_EQ(web->url(), fileUrl("TamCalendar.htm"));
    // Once the report is up, the build's status has done its work.
    auto *panel = child<QLabel>("stbPanel1");
    EXPECT_EQ(panel->text(), "");
    const QString report = pageText(*web->page());
    EXPECT_TRUE(report.contains("March 2004"));
    EXPECT_TRUE(report.contains(QString::fromUtf8("Pi day été")));

    // The first day's icon folds its note row away and back.
    const QString toggle = "document.getElementById('btnDing0').click();"
                           "getComputedStyle(document.getElementById('rowDong0')).display + '|' +"
                           "document.getElementById('btnDing0').innerText";
    EXPECT_EQ(runScript(*web->page(), toggle).toString(), "none|4");
    EXPECT_EQ(runScript(*web->page(), toggle).toString(), "inline|6");

    // The link under the mouse shows in the first status panel, and goes with it.
    emit web->page()->linkHovered("file:///somewhere/else.htm");
    EXPECT_EQ(panel->text(), "file:///somewhere/else.htm");
    emit web->page()->linkHovered(QString());
    EXPECT_EQ(panel->text(), "");
}

// The toggles are drawn in the program's own font: each triangle is one em wide
// (the report's 17 pixels), where a digit of a fallback font would be about half.
TEST_F(ReportWindow, TogglesShowAsTrianglesAndFoldTheirDay)
{
    openView({2004, 3, 1}, {2004, 3, 2});
    pressGo();
    ASSERT_TRUE(waitForLoad(fileUrl("TamCalendar.htm")));
    const QString width = "document.getElementById('btnDing1').getBoundingClientRect().width";
    waitUntil([&] { return runScript(*web->page(), width).toDouble() > 16.5; }, kLoadTimeoutMs);

    const QString toggle = "document.getElementById('btnDing1').click();"
                           "[getComputedStyle(document.getElementById('rowDong1')).display,"
                           " document.getElementById('btnDing1').innerText,"
                           " getComputedStyle(document.getElementById('btnDing1')).fontFamily,"
                           " document.fonts.check('17px WebDings', '46')].join('|')";
    const QString folded = runScript(*web->page(), toggle).toString();
    EXPECT_EQ(folded, "none|4|WebDings|true");
    EXPECT_NEAR(runScript(*web->page(), width).toDouble(), 17.0, 0.5);
    EXPECT_EQ(runScript(*web->page(), toggle).toString(), "inline|6|WebDings|true");
    EXPECT_NEAR(runScript(*web->page(), width).toDouble(), 17.0, 0.5);
    // The day without a click keeps its note row.
    EXPECT_EQ(
        runScript(*web->page(), "getComputedStyle(document.getElementById('rowDong0')).display")
            .toString(),
        "inline");
    // The page is drawn with the font; the report file is the generator's alone.
    EXPECT_FALSE(fileText(folder.filePath("TamCalendar.htm")).contains("font-face"));
}

TEST_F(ReportWindow, ScriptsAndTextSizeReachTheReport)
{
    struct Case
    {
        const char *name;
        bool noScripts;
        const char *size;
        bool hasScript;
        const char *rule;
    };
    const Case cases[] = {
        {"start values", false, "10", true, "font-size:10px"},
        {"no scripts, size 14", true, "14", false, "font-size:14px"},
        {"size that is no number", false, "big", true, "font-size:10px"},
        {"size from the list", true, "2", false, "font-size:2px"},
        {"fraction rounds half to even", false, "12.5", true, "font-size:12px"},
        {"fraction rounds up past the half", false, "13.6", true, "font-size:14px"},
    };
    openView({2004, 3, 13}, {2004, 3, 14});
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        child<QCheckBox>("chkScripts")->setChecked(c.noScripts);
        child<QComboBox>("cboFontSize")->setEditText(c.size);
        pressGo();
        const QString report = fileText(folder.filePath("TamCalendar.htm"));
        EXPECT_EQ(report.contains("<SCRIPT>"), c.hasScript);
        EXPECT_EQ(report.contains("btnDing"), c.hasScript);
        EXPECT_TRUE(report.contains(c.rule));
    }
    // Builds in quick succession end on the report, not on a page loaded in between.
    ASSERT_TRUE(waitForLoad(fileUrl("TamCalendar.htm")));
    waitUntil([] { return false; }, 300);
    EXPECT_EQ(loaded.last(), fileUrl("TamCalendar.htm"));
    EXPECT_EQ(web->url(), fileUrl("TamCalendar.htm"));
}

// A note's markup is copied into the report as it is; with "No Scripts" ticked
// a script in it must not run, and unticked the report's scripts work as ever.
TEST_F(ReportWindow, NoScriptsRunsNoScriptAtAll)
{
    writeProfile("[Days]\r\n" +
                 noteLine({2004, 3, 14}, "<b>bold</b><script>document.title='ran';</script>"));
    openView({2004, 3, 14}, {2004, 3, 14});
    for (const bool noScripts : {true, false}) {
        SCOPED_TRACE(noScripts);
        loaded.clear();
        child<QCheckBox>("chkScripts")->setChecked(noScripts);
        pressGo();
        ASSERT_TRUE(waitForLoad(fileUrl("TamCalendar.htm")));
        EXPECT_TRUE(fileText(folder.filePath("TamCalendar.htm"))
                        .contains("<b>bold</b><script>document.title='ran';</script>"));
        const bool ran = waitUntil([&] { return web->title() == "ran"; }, 1000);
        EXPECT_EQ(ran, !noScripts);
    }
}

TEST_F(ReportWindow, PickersChangeTheNextBuildOnlyAndGoDuringABuildIsIgnored)
{
    openView({2004, 3, 1}, {2004, 3, 10});
    child<QDateEdit>("dtpEnd")->setDate({2004, 3, 5});
    view->onProgress = [&](int call) {
        if (call == 1) {
            EXPECT_TRUE(view->isBuilding());
            pressGo();
            // The running build keeps its range, whatever the pickers say now.
            child<QDateEdit>("dtpBeg")->setDate({2004, 2, 1});
        }
    };
    pressGo();
    EXPECT_EQ(view->steps.size(), 6u);
    EXPECT_EQ(view->steps.back().max, 100.0F);
    EXPECT_TRUE(fileText(folder.filePath("TamCalendar.htm")).contains("3/1/2004 to 3/5/2004"));

    view->steps.clear();
    view->onProgress = nullptr;
    pressGo();
    EXPECT_EQ(view->steps.size(), 35u);
    EXPECT_TRUE(fileText(folder.filePath("TamCalendar.htm")).contains("2/1/2004 to 3/5/2004"));
}

TEST_F(ReportWindow, ClosedDuringABuildGoesOnceTheBuildIsDone)
{
    openView({2004, 3, 1}, {2004, 3, 10});
    // Closed and shown again while the build runs: it stays.
    view->onProgress = [&](int call) {
        if (call == 2)
            view->close();
        if (call == 4)
            view->show();
    };
    pressGo();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(view);
    EXPECT_TRUE(view->isVisible());

    // Closed while it runs: out of sight at once, unloaded when the build is done.
    QSettings("TamCal", "TamCal").remove("frmView");
    view->steps.clear();
    view->onProgress = [&](int call) {
        if (call == 2) {
            view->close();
            EXPECT_FALSE(view->isVisible());
        }
    };
    pressGo();
    EXPECT_EQ(view->steps.size(), 11u);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(QSettings("TamCal", "TamCal").contains("frmView/Width"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(view);
}

TEST_F(ReportWindow, EscapeClosesTheWindowOnceNoBuildRuns)
{
    openView({2004, 3, 1}, {2004, 3, 10});
    settle(*view);
    // During a build it goes out of sight and closes when the build is done.
    view->onProgress = [&](int call) {
        if (call == 2) {
            QTest::keyClick(view->windowHandle(), Qt::Key_Escape);
            EXPECT_FALSE(view->isVisible());
            EXPECT_TRUE(view->isBuilding());
        }
    };
    pressGo();
    EXPECT_EQ(view->steps.size(), 11u);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(view);

    openView({2004, 3, 1}, {2004, 3, 10});
    settle(*view);
    QTest::keyClick(view->windowHandle(), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(view);
}

TEST_F(ReportWindow, DatePickersTakeAWholeTypedDate)
{
    struct Case
    {
        const char *name;
        QDate shown;
        const char *typed;
        QDate expected;
    };
    const Case cases[] = {
        {"leap day typed over a year without one", {2026, 12, 16}, "02292004", {2004, 2, 29}},
        {"leap day in a year without one", {2004, 12, 16}, "02292005", {2005, 2, 28}},
        {"31st typed over a 30-day month", {2026, 4, 16}, "01312003", {2003, 1, 31}},
        {"31st in a 30-day month", {2026, 12, 16}, "04312004", {2004, 4, 30}},
        {"a plain date", {2026, 12, 16}, "07041976", {1976, 7, 4}},
    };
    openView({2004, 3, 1}, {2004, 3, 10});
    settle(*view);
    for (const char *name : {"dtpBeg", "dtpEnd"}) {
        auto *picker = child<QDateEdit>(name);
        for (const Case &c : cases) {
            SCOPED_TRACE(std::string(name) + ": " + c.name);
            picker->setDate(c.shown);
            picker->setFocus();
            picker->setSelectedSection(QDateTimeEdit::MonthSection);
            QTest::keyClicks(picker, c.typed);
            EXPECT_EQ(picker->date(), c.expected);
            EXPECT_EQ(picker->text(), c.expected.toString("MM/dd/yyyy"));
        }
    }
    pressGo();
    EXPECT_TRUE(fileText(folder.filePath("TamCalendar.htm")).contains("07/04/1976 to 07/04/1976"));
}

TEST_F(ReportWindow, ControlsAreNamedForScreenReaders)
{
    openView({2004, 3, 1}, {2004, 3, 10});
    const struct
    {
        const char *objectName;
        const char *name;
    } controls[] = {
        {"dtpBeg", "First day of the range"},  {"dtpEnd", "Last day of the range"},
        {"chkScripts", "No Scripts"},          {"btnSave", "Go"},
        {"prbStat", "Build progress"},         {"webReporter", "Report"},
        {"btnOutput", "Save as PDF or print"},
    };
    for (const auto &c : controls) {
        SCOPED_TRACE(c.objectName);
        QAccessibleInterface *control =
            QAccessible::queryAccessibleInterface(child<QWidget>(c.objectName));
        ASSERT_TRUE(control);
        EXPECT_EQ(control->text(QAccessible::Name), c.name);
    }
    const auto labels = QAccessible::queryAccessibleInterface(child<QWidget>("cboFontSize"))
                            ->relations(QAccessible::Label);
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels.front().first->text(QAccessible::Name), "Text Size:");
}

TEST_F(ReportWindow, ShowsTheErrorPageWhenNoReportIsWritten)
{
    // A folder where the report file belongs: nothing can be written there.
    ASSERT_TRUE(QDir(folder.path()).mkdir("TamCalendar.htm"));
    openView({2004, 3, 14}, {2004, 3, 14});
    pressGo();

    EXPECT_EQ(fileText(folder.filePath("viewerror.htm")),
              "\r\n<HEAD></HEAD>\r\n<BODY BGCOLOR=BLACK>"
              "\r\n<H2><FONT COLOR=RED>Error Building Report!</FONT></H2>"
              "\r\n<H5><FONT COLOR=SkyBlue>This is most unusual!</FONT></H5></BODY>");
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(view->isBuilding());
    ASSERT_FALSE(prompt.messages.empty());
    EXPECT_EQ(prompt.messages.front().title, "An Error Occured!");
    ASSERT_TRUE(waitForLoad(fileUrl("viewerror.htm")));
    EXPECT_TRUE(pageText(*web->page()).contains("Error Building Report!"));
}

TEST_F(ReportWindow, BrowserFitsTheWindowAndProgressTakesWhatTheBarCan)
{
    view = new RecordingView({2004, 3, 1}, {2004, 3, 1}, prompt);
    view->show();
    auto *browser = child<QWebEngineView>("webReporter");
    const int barHeight = child<QStatusBar>("stbPane")->height();
    struct Size
    {
        const char *name;
        QSize window;
        QSize browser;
    };
    // Width: inner width - 50 twips; height: inner height - 1320 twips (its top) -
    // the status bar - 50 twips; a negative result keeps the size it had.
    const Size sizes[] = {
        {"designed", {422, 404}, {419, 404 - 88 - barHeight - 3}},
        {"larger", {700, 600}, {697, 600 - 88 - barHeight - 3}},
        {"lower than the browser's top", {500, 60}, {497, 600 - 88 - barHeight - 3}},
    };
    for (const Size &s : sizes) {
        SCOPED_TRACE(s.name);
        view->resize(s.window);
        settleSize(*view);
        EXPECT_EQ(child<QStatusBar>("stbPane")->geometry().bottom(), view->height() - 1);
        EXPECT_EQ(browser->size(), s.browser);
    }

    struct Progress
    {
        float value;
        float max;
        int barValue;
        int barMaximum;
    };
    const Progress reports[] = {
        {3, 10, 3, 10},
        {12, 10, 3, 10}, // beyond the maximum: not applied
        {0, 0, 0, 10},   // a maximum the bar can't take: kept
        {0, 100, 0, 100},
    };
    for (const Progress &p : reports) {
        SCOPED_TRACE(testing::Message() << p.value << " of " << p.max);
        view->SetProgress(p.value, p.max);
        EXPECT_EQ(child<QProgressBar>("prbStat")->value(), p.barValue);
        EXPECT_EQ(child<QProgressBar>("prbStat")->maximum(), p.barMaximum);
    }
}

TEST_F(ReportWindow, WriteTextFileReplacesTheFileAndAsksWhenItCannot)
{
    std::string path;
    EXPECT_EQ(tamcal::WriteTextFile("a longer first text", path, prompt),
              folder.filePath("tmpdump.rtf").toStdString());
    EXPECT_EQ(path, folder.filePath("tmpdump.rtf").toStdString());
    tamcal::WriteTextFile("second", path, prompt);
    EXPECT_EQ(fileText(folder.filePath("tmpdump.rtf")), "second");

    std::string missing = folder.filePath("no folder/page.htm").toStdString();
    prompt.answers = {tamcal::MsgAnswer::Retry, tamcal::MsgAnswer::Abort};
    EXPECT_EQ(tamcal::WriteTextFile("page", missing, prompt), missing);
    ASSERT_EQ(prompt.messages.size(), 2u);
    for (const tamcal::Message &message : prompt.messages) {
        EXPECT_EQ(message.text, "Error: 76 - Path not found\r\nFrom: TamCal.");
        EXPECT_EQ(message.title, "An Error Occured!");
        EXPECT_EQ(message.buttons, tamcal::MsgButtons::AbortRetryIgnore);
        EXPECT_EQ(message.icon, tamcal::MsgIcon::Exclamation);
        EXPECT_EQ(message.defaultButton, 2);
    }
}

} // namespace

namespace {

// The report window's output choices, with the locale each test sets given back.
class ReportOutput : public ReportWindow
{
protected:
    void TearDown() override
    {
        QLocale::setDefault(m_locale);
        ReportWindow::TearDown();
    }

    // Builds the range's report and waits until it is shown.
    void showReport(QDate begin, QDate end)
    {
        openView(begin, end);
        buildShown();
    }

    void buildShown()
    {
        pressGo();
        ASSERT_TRUE(waitForLoad(fileUrl("TamCalendar.htm")));
        ASSERT_TRUE(waitUntil([this] { return child<QAction>("mnuSavePdf")->isEnabled(); },
                              kLoadTimeoutMs));
    }

    bool waitForPdf()
    {
        bool isDone = false;
        bool isFinished = false;
        QObject::connect(web, &QWebEngineView::pdfPrintingFinished, web,
                         [&](const QString &, bool isOk) { isDone = isOk, isFinished = true; });
        return waitUntil([&] { return isFinished; }, kLoadTimeoutMs) && isDone;
    }

    QLocale m_locale;
};

TEST_F(ReportOutput, SaveAsPdfWritesTheReportOnTheLocalesPaper)
{
    const struct
    {
        const char *name;
        QLocale::Language language;
        QLocale::Territory territory;
        QDate begin;
        QDate end;
        const char *pages;
        const char *paper;
    } cases[] = {
        // Three months of the calendar fit a page.
        {"a day, US",
         QLocale::English,
         QLocale::UnitedStates,
         {2004, 3, 14},
         {2004, 3, 14},
         "1",
         "(letter)"},
        {"a year, Germany",
         QLocale::German,
         QLocale::Germany,
         {2004, 1, 1},
         {2004, 12, 31},
         "4",
         "(A4)"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QLocale::setDefault(QLocale(c.language, c.territory));
        showReport(c.begin, c.end);

        const QString path = folder.filePath("kept.pdf");
        QString proposed;
        tamcal::test::whenModal([&](QWidget *modal) {
            auto *dialog = qobject_cast<QFileDialog *>(modal);
            ASSERT_TRUE(dialog);
            proposed = QFileInfo(dialog->selectedFiles().value(0)).fileName();
            dialog->selectFile(path);
            static_cast<QDialog *>(dialog)->accept();
        });
        child<QAction>("mnuSavePdf")->trigger();
        EXPECT_EQ(proposed, tamcal::proposedPdfName(c.begin, c.end));
        ASSERT_TRUE(waitForPdf());
        EXPECT_EQ(pdfInfo(path, "Pages"), c.pages);
        EXPECT_TRUE(pdfInfo(path, "Page size").endsWith(c.paper));
        EXPECT_TRUE(prompt.messages.empty());
        QFile::remove(path);
        delete view.data();
    }
    EXPECT_EQ(tamcal::proposedPdfName({2004, 3, 1}, {2004, 3, 31}),
              "TamCal 2004-03-01 to 2004-03-31.pdf");
}

TEST_F(ReportOutput, OutputWaitsForAReportAndAFailureIsToldWithItsReason)
{
    openView({2004, 3, 1}, {2004, 3, 31});
    EXPECT_FALSE(child<QToolButton>("btnOutput")->isEnabled());
    EXPECT_FALSE(child<QAction>("mnuPrint")->isEnabled());
    buildShown();
    EXPECT_TRUE(child<QToolButton>("btnOutput")->isEnabled());

    const QString path = folder.filePath("gone/kept.pdf");
    view->saveAsPdf(path);
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].title, "PDF Not Saved");
    EXPECT_EQ(prompt.messages[0].text, "The report could not be saved as " + path.toStdString() +
                                           ": No such file or directory.");
    EXPECT_TRUE(child<QAction>("mnuSavePdf")->isEnabled());
}

TEST_F(ReportOutput, PrintOffersQtsPrintDialogAndPrintsTheReport)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    showReport({2004, 3, 14}, {2004, 3, 14});

    // Ctrl+P opens the dialog; cancelling it prints nothing.
    bool isDialog = false;
    tamcal::test::whenModal([&](QWidget *modal) {
        isDialog = qobject_cast<QPrintDialog *>(modal) != nullptr;
        static_cast<QDialog *>(modal)->reject();
    });
    settle(*view);
    QTest::keyClick(view, Qt::Key_P, Qt::ControlModifier);
    EXPECT_TRUE(isDialog);
    EXPECT_TRUE(child<QAction>("mnuPrint")->isEnabled());

    // A printer that writes a file shows what paper gets.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString path = folder.filePath("printed.pdf");
    printer.setOutputFileName(path);
    printer.setPageLayout(tamcal::reportPageLayout(QLocale()));
    bool isPrinted = false;
    QObject::connect(web, &QWebEngineView::printFinished, web,
                     [&](bool isOk) { isPrinted = isOk; });
    view->printOn(printer);
    EXPECT_FALSE(child<QAction>("mnuPrint")->isEnabled());
    ASSERT_TRUE(waitUntil([&] { return isPrinted; }, kLoadTimeoutMs));
    EXPECT_EQ(pdfInfo(path, "Pages"), "1");
    EXPECT_TRUE(pdfInfo(path, "Page size").endsWith("(A4)"));
    EXPECT_TRUE(child<QAction>("mnuPrint")->isEnabled());
    EXPECT_TRUE(prompt.messages.empty());
}

} // namespace
