// Not a test: shows the report window on a real (virtual) screen while it builds
// a month's report and after, and saves a picture of each. Run on a screen with
// a window manager, so the frame shows:
//   scripts/desktop.sh view_screenshots OUT-FOLDER

#include "eventwait.h"
#include "forms/frmview.h"
#include "profile/settings.h"
#include "support/fakeprompt.h"
#include "support/windowpictures.h"

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QToolButton>
#include <QWebEngineView>

#include <unistd.h>

namespace {

using tamcal::test::noteLine;
using tamcal::test::waitUntil;

const tamcal::test::WindowPictures *screenshots = nullptr;

// Lets the windows run for a while.
void runEvents(int ms)
{
    waitUntil([] { return false; }, ms);
}

// A month of a diary: most days hold a note of a line or two.
void writeDiary(const QString &folder, QDate first)
{
    const char *const notes[] = {
        "Met Anna for coffee.\r\nBought stamps.",
        "Rain all day; read in the kitchen.",
        "Dentist at 9.\r\nCalled the plumber about the tap.",
        "",
        "Long walk by the river. Herons!",
        "Worked late on the garden plan.",
        "",
        "Market: apples, bread, cheese.\r\nLetter from Tom.",
    };
    std::string text = "[Main]\r\nViewTitle=Diary of March\r\n[Days]\r\n";
    for (int day = 0; day < first.daysInMonth(); ++day) {
        const std::string note = notes[day % std::size(notes)];
        if (!note.empty())
            text += noteLine(first.addDays(day), note);
    }
    tamcal::test::writeProfile(folder, text);
}

// Takes the picture of the wait page from inside the build, half way through.
class ShootingView : public frmView
{
public:
    using frmView::frmView;

    void SetProgress(float sngProgress, float sngMax) override
    {
        frmView::SetProgress(sngProgress, sngMax);
        if (sngMax > 0 && sngProgress == sngMax / 2) {
            auto *web = findChild<QWebEngineView *>("webReporter");
            waitUntil([web] { return web->url().fileName() == "pleasewait.htm"; }, 3000);
            runEvents(300);
            screenshots->shoot("report-building.png", *this);
        }
    }
};

} // namespace

int main(int argc, char *argv[])
{
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QApplication app(argc, argv);
    const tamcal::test::WindowPictures pictures(argc, argv);
    screenshots = &pictures;
    QSettings store("TamCal", "TamCal");
    store.setValue("frmView/Left", "1200");
    store.setValue("frmView/Top", "900");
    store.setValue("frmView/Width", "11400");
    store.setValue("frmView/Height", "9600");

    QTemporaryDir program;
    const QDate first(2004, 3, 1);
    writeDiary(program.path(), first);
    tamcal::formPaths(QDir(program.path()).filePath("tamcal").toStdString());

    tamcal::test::FakePrompt prompt;
    ShootingView view(first, first.addDays(first.daysInMonth() - 1), prompt);
    view.Form_Load();
    view.show();
    runEvents(1500);
    auto *web = view.findChild<QWebEngineView *>("webReporter");
    view.findChild<QToolButton *>("btnSave")->click();
    waitUntil([web] { return web->url().fileName() == "TamCalendar.htm"; }, 5000);
    runEvents(800);
    // Two days folded away, so both toggle shapes show.
    web->page()->runJavaScript("ToggleBox(3); ToggleBox(10);");
    runEvents(500);
    screenshots->shoot("report.png", view);
    return 0;
}
