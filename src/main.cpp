#include "cli/commandline.h"
#include "forms/frmcalview.h"
#include "profile/inifile.h"
#include "profile/settings.h"

#include <QApplication>

#include <thread>
#include <unistd.h>

// The run lasts as long as the calendar window: it loads the settings when it
// starts and writes them back when it closes.
int main(int argc, char *argv[])
{
    // A command-line action (a report, an export, help, the version, or input it
    // refuses) ends the run here, without any window.
    if (const std::optional<int> status = tamcal::RunCommandLine(argc, argv))
        return *status;
    // The report's browser view refuses to start as root while its sandbox is on.
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // The profile is read on a second thread while the toolkit starts, so that
    // the calendar finds its settings and notes ready when it is made.
    tamcal::LocateProfile(tamcal::runningExecutablePath());
    std::jthread preload([file = tamcal::AppSettings.IniPath] { tamcal::PreloadIni(file); });
    // Qt::AA_ShareOpenGLContexts is left unset: it makes the application object
    // load an OpenGL renderer, which only the browser engine needs. The context
    // the engine shares is made when the report window's library is loaded.
    QApplication app(argc, argv);
    QApplication::setApplicationName("TamCal");
    frmCalView calendar;
    calendar.Form_Load();
    return QApplication::exec();
}
