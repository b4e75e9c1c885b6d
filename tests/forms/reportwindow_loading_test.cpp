// The report window as the program reaches it: its library, and the browser
// engine with it, come into the process only when the first report window
// opens, and the engine then shows the report.

#include "diaryfixture.h"
#include "eventwait.h"

#include <QAction>
#include <QColor>
#include <QFile>
#include <QImage>
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

} // namespace
