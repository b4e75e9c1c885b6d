// The report window as the program reaches it: its library, and the browser
// engine with it, come into the process only when the first report window
// opens, and the engine then shows the report.

#include "diaryfixture.h"
#include "eventwait.h"

#include <QAction>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QToolButton>

namespace {

using tamcal::test::DiaryTest;
using tamcal::test::waitUntil;

const bool kSandboxOff = qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");

bool isInProcess(const char *library)
{
    QFile maps("/proc/self/maps");
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(library);
}

bool hasReportGreen(const QImage &picture)
{
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (picture.pixelColor(x, y) == QColor(0, 128, 0))
                return true;
        }
    }
    return false;
}

class LoadedReportWindow : public DiaryTest
{
};

TEST_F(LoadedReportWindow, EngineComesWithTheFirstReportWindowAndShowsTheReport)
{
    writeProfile("[Days]\r\n" + noteLine({2004, 3, 14}, "Pi day"));
    start();
    ASSERT_TRUE(kSandboxOff);
    EXPECT_FALSE(isInProcess("libQt6WebEngineCore"));
    EXPECT_FALSE(isInProcess("libtamcal_reportwindow"));

    mvwShow().setSelection({2004, 3, 1}, {2004, 3, 31});
    calendar->findChild<QAction *>("mnuCalView")->trigger();
    QWidget *window = calendar->findChild<QWidget *>("frmView");
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(isInProcess("libQt6WebEngineCore"));
    EXPECT_EQ(calendar->showReportWindow(), window);

    QWidget *web = window->findChild<QWidget *>("webReporter");
    ASSERT_TRUE(web);
    window->findChild<QToolButton *>("btnSave")->click();
    const QUrl report = QUrl::fromLocalFile(folder.filePath("TamCalendar.htm"));
    EXPECT_TRUE(waitUntil([&] { return web->property("url").toUrl() == report; }, 30000));
    // The report's day numbers are the only green on the page.
    EXPECT_TRUE(waitUntil([&] { return hasReportGreen(web->grab().toImage()); }, 30000));
}

// Run only by the test below, from a copy of this program that has no library
// beside it or in an installed folder.
TEST_F(LoadedReportWindow, DISABLED_OpensWithoutItsLibrary)
{
    start();
    calendar->findChild<QAction *>("mnuCalView")->trigger();
    EXPECT_FALSE(calendar->findChild<QWidget *>("frmView"));
    EXPECT_FALSE(calendar->showReportWindow());
    ASSERT_EQ(prompt.messages.size(), 2U);
    const tamcal::Message &message = prompt.messages.front();
    EXPECT_EQ(message.icon, tamcal::MsgIcon::Critical);
    EXPECT_TRUE(message.text.starts_with("The report window could not be opened: its library did "
                                         "not load.\r\n"))
        << message.text;
    const std::string beside =
        (QCoreApplication::applicationDirPath() + "/libtamcal_reportwindow.so: no such file")
            .toStdString();
    EXPECT_NE(message.text.find(beside), std::string::npos) << message.text;
    EXPECT_FALSE(isInProcess("libQt6WebEngineCore"));
}

TEST_F(LoadedReportWindow, AMissingLibraryIsReportedWithItsReason)
{
    const QTemporaryDir copy;
    ASSERT_TRUE(QDir(copy.path()).mkpath("bin"));
    const QString program = copy.filePath("bin/test_reportwindow_loading");
    ASSERT_TRUE(QFile::copy(QCoreApplication::applicationFilePath(), program));
    QProcess child;
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(program, {"--gtest_also_run_disabled_tests",
                          "--gtest_filter=LoadedReportWindow.DISABLED_OpensWithoutItsLibrary"});
    ASSERT_TRUE(child.waitForFinished(60000));
    const QByteArray output = child.readAll();
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test.")) << output.toStdString();
}

} // namespace
